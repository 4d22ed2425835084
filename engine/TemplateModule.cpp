#include "engine/TemplateModule.h"

void CopyTemplate(const TemplateRec &src, TemplateRec &dst)
{
    // Value semantics give exactly the contract: strings and the four lists are copied,
    // a longer destination list is cut to the source's length, nothing is shared.
    if (&src != &dst)
        dst = src;
}

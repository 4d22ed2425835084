#include "engine/DOLVmiscModule.h"

int16_t FindGasIndex(const std::string &Name, const TemplateRec &Template)
{
    for (size_t i = 0; i < Template.Gases.size(); ++i)
        if (Template.Gases[i].Name == Name)
            return static_cast<int16_t>(i);
    return 0;
}

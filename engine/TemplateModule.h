#pragma once
// Dive templates: the deep copy of a dive's settings.

#include "engine/SettingsRecord.h"

// Makes dst an independent copy of src: every field, and each list with exactly the
// source's length and contents.
void CopyTemplate(const TemplateRec &src, TemplateRec &dst);

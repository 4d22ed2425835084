#pragma once
// Dive templates: the text block that stores one TemplateRec (a template file holds one,
// a profile file one at the head of every dive), loading and saving template files, and
// the deep copy of a dive's settings.
//
// The block is a fixed sequence of "Key=value" lines from "Start Template Block" to
// "End Template Block" with CR LF line ends. Numbers are written as Str writes a Single
// (" 1.3", "-5", " 1E-05"), with the digits beyond 7 that reading back needs (FileStr),
// and read with "." as the decimal point in every locale, so a file means the same on
// every machine and gives back every value bit for bit.

#include "engine/DiveBounds.h"
#include "engine/SettingsRecord.h"

#include <string>
#include <string_view>

class TextLineReader;
class TextLineWriter;

// Full path of the template file last loaded or saved; set before the file is opened.
extern std::string gTemplateFile;

// Makes dst an independent copy of src: every field, and each list with exactly the
// source's length and contents.
void CopyTemplate(const TemplateRec &src, TemplateRec &dst);

// Writes the block, "Start Template Block" to "End Template Block". Write errors are
// RuntimeErrors for the caller.
void WriteTemplateBlock(const TemplateRec &record, TextLineWriter &out);

// Reads one block into the record. A block that cannot be read (end of file before its
// end line, a flag that is not a number, a number beyond a Single) or that leaves the
// record without a usable stop spacing or rate table is a RuntimeError, and the record
// stays exactly as it was. Keys the block lacks leave their fields alone, except the gas
// list, which always starts again from Air.
void ReadTemplateBlock(TemplateRec &record, TextLineReader &in);

// Why settings written as a block would not be read back (the reader refuses such a
// block): an empty rate table, a gas or template name the block cannot give back, or a
// setting outside the dive bounds (engine/DiveBounds.h). No fault when they would.
// Whatever stores a dive's settings checks them with this first, so a saved dive or
// template is never lost on reopening.
DiveBounds::SettingsFault UnreadableSettings(const TemplateRec &record);

// Why a template name would end the block it is written in, or split its line ("End
// Template Block", a line break): a dive series holding it would never open again.
// Empty when the name comes back.
std::string TemplateNameProblem(std::string_view name);

// Whether a gas name comes back unchanged from a template block: gases are written as
// "name:O2/N2/He/" and deco switches as "depth:name,", and the blanks around a value are
// dropped when it is read. A name holding ":", "," or a line break, or starting with a
// blank, would come back as another name or split the switch list. The readers and
// UnreadableSettings refuse such a name (text 7078).
bool GasNameComesBack(std::string_view name);

// The check of a gas name the diver types: GasNameComesBack, and no blank at the end
// either (a slip no one means; files may hold such names and keep them).
bool IsStorableGasName(std::string_view name);

// Reads the template file `directory` + `name` into the record, or the default template
// when the name is empty. True when it was read; otherwise the user is told that the
// file is not a valid template, the record is unchanged and the result is false.
bool LoadTemplate(TemplateRec &record, const std::string &name, const std::string &directory);

// Writes the record as the template file `path` (empty: the default template). The file
// is written under a temporary name and renamed over the old one, so a failed save
// leaves the old file whole; the failure is a RuntimeError for the caller.
void SaveTemplate(const TemplateRec &record, const std::string &path);

// The default template: "template/Default.tpl" in the installation folder.
std::string DefaultTemplatePath();

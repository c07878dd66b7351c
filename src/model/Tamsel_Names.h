// Every name the generated unit declares or calls, made in one place: the
// emitters write these names and the checks test the same ones.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Tamsel_ini.h"
#include "writer/Tamsel_WritePas.h"

namespace names {

// The methods every class with fields declares.
TName InitialSelf(const TVocabulary& v);
TName InitialSuper(const TVocabulary& v);
TName Initial(const TVocabulary& v);
TName SetAllSelf(const TVocabulary& v);
inline constexpr std::string_view kCreate = "Create";
inline constexpr std::string_view kDestroy = "Destroy";
/// Those methods in the order the class declares them, and the INI read and
/// write procedures after them for the INI-controller class.
std::vector<TName> ClassMethods(const TVocabulary& v, bool controller);

// The accessors of a field, from the field's name.
TName SetSelf(const TVocabulary& v, std::string_view field);
TName Set(std::string_view field);
TName GetSelf(const TVocabulary& v, std::string_view field);
TName Get(std::string_view field);
/// The field's name and its four accessors, in the order they are declared.
std::array<TName, 5> FieldMembers(const TVocabulary& v, std::string_view field);
/// "&" when `identifier` (an item name used as a parameter, an object
/// variable) is a reserved word and must be escaped, else "".
std::string_view Escape(std::string_view identifier);

/// The unit-level object variable of a class: "O" and the class's item name.
std::string ObjectVariable(std::string_view item);

// What the INI-controller's procedures use.
inline constexpr std::string_view kIniFileVariable = "IniFile";
/// The INI file class's methods for a field of `type`.
TName IniReadMethod(std::string_view type);
TName IniWriteMethod(const TVocabulary& v, std::string_view type);
/// The initial values of the automatic fields, and the functions they call.
inline constexpr std::string_view kFileNameDefault =
    "ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'))";
inline constexpr std::string_view kSectionDefault = "ChangeFileExt(ExtractFileName(ParamStr(0)),'')";
inline constexpr std::array<std::string_view, 4> kDefaultFunctions = {
    "ExpandFileName", "ChangeFileExt", "ExtractFileName", "ParamStr"};

/// The units of the uses clause; the UseUnit setting stands between them.
inline constexpr std::array<std::string_view, 2> kUsesUnits = {"SysUtils", "IniFiles"};
/// The values a boolean initial value becomes.
inline constexpr std::array<std::string_view, 2> kBooleans = {"True", "False"};

}  // namespace names

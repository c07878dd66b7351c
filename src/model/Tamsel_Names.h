// Every name the generated unit declares or calls, made in one place: the
// emitters write these names and the checks test the same ones.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/PascalWords.h"
#include "settings/Tamsel_ini.h"
#include "text/Ascii.h"
#include "writer/Tamsel_WritePas.h"

namespace names {

// The methods of every class with fields.
inline TName InitialSelf(const TVocabulary& v) { return {{v.cInitial, v.cSelf}}; }
inline TName InitialSuper(const TVocabulary& v) { return {{v.cInitial, v.cSuper}}; }
inline TName Initial(const TVocabulary& v) { return {{v.cInitial}}; }
inline TName SetAllSelf(const TVocabulary& v) { return {{"Set", v.cAll, v.cSelf}}; }
inline constexpr std::string_view kCreate = "Create";
inline constexpr std::string_view kDestroy = "Destroy";
inline constexpr std::string_view kFree = "Free";
/// Those methods in declaration order, and for the INI-controller class
/// its read and write procedures after them.
inline std::vector<TName> ClassMethods(const TVocabulary& v, bool controller) {
  std::vector<TName> methods = {InitialSelf(v), InitialSuper(v), Initial(v),
                                SetAllSelf(v),  {{kCreate}},     {{kDestroy}}};
  if (controller) methods.insert(methods.end(), {{{v.cIniRead}}, {{v.cIniWrite}}});
  return methods;
}

// The accessors of a field, from the field's name.
inline TName SetSelf(const TVocabulary& v, std::string_view field) {
  return {{"Set", v.cSelf, ItemName(field)}};
}
inline TName Set(std::string_view field) { return {{"Set", ItemName(field)}}; }
inline TName GetSelf(const TVocabulary& v, std::string_view field) {
  return {{"Get", v.cSelf, ItemName(field)}};
}
inline TName Get(std::string_view field) { return {{"Get", ItemName(field)}}; }
/// The field's name and its four accessors, in declaration order.
inline std::array<TName, 5> FieldMembers(const TVocabulary& v, std::string_view field) {
  return {TName{{field}}, SetSelf(v, field), Set(field), GetSelf(v, field), Get(field)};
}

/// "&" when `identifier` (a parameter, an object variable) is a reserved word.
inline std::string_view Escape(std::string_view identifier) {
  return IsReservedWord(identifier) ? "&" : "";
}
/// The unit-level object variable of the class whose item name is `item`.
inline std::string ObjectVariable(std::string_view item) { return std::string("O").append(item); }

// What the INI-controller's procedures use.
inline constexpr std::string_view kIniFileVariable = "IniFile";
inline TName IniReadMethod(std::string_view type) { return {{"Read", type}}; }
inline TName IniWriteMethod(const TVocabulary& v, std::string_view type) {
  return {{v.cCheck, "Write", type}};
}
/// The type of the automatic fields and of the INI overloads' parameters.
inline constexpr std::string_view kIniNameType = "string";
/// The automatic fields' initial values, and the functions they call.
inline constexpr std::string_view kFileNameDefault =
    "ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'))";
inline constexpr std::string_view kSectionDefault = "ChangeFileExt(ExtractFileName(ParamStr(0)),'')";
inline constexpr std::array<std::string_view, 4> kDefaultFunctions = {
    "ExpandFileName", "ChangeFileExt", "ExtractFileName", "ParamStr"};

/// The units of the uses clause; UseUnit stands between them.
inline constexpr std::array<std::string_view, 2> kUsesUnits = {"SysUtils", "IniFiles"};
/// The units UseUnit names: one, or several separated by commas
/// ("Tamsel_common, Classes"), blanks around each aside.
inline std::vector<std::string_view> UseUnits(const TVocabulary& v) {
  std::vector<std::string_view> units;
  const std::string_view text = v.UseUnit;
  for (std::size_t start = 0; !text.empty() && start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    units.push_back(texts::TrimBlanks(text.substr(start, comma - start)));
    start = comma + 1;
  }
  return units;
}
/// What a boolean initial value becomes.
inline constexpr std::array<std::string_view, 2> kBooleans = {"True", "False"};

}  // namespace names

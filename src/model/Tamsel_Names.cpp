#include "model/Tamsel_Names.h"

#include "model/PascalWords.h"

namespace names {

TName InitialSelf(const TVocabulary& v) { return {{v.cInitial, v.cSelf}}; }
TName InitialSuper(const TVocabulary& v) { return {{v.cInitial, v.cSuper}}; }
TName Initial(const TVocabulary& v) { return {{v.cInitial}}; }
TName SetAllSelf(const TVocabulary& v) { return {{"Set", v.cAll, v.cSelf}}; }

std::vector<TName> ClassMethods(const TVocabulary& v, bool controller) {
  std::vector<TName> methods = {InitialSelf(v),   InitialSuper(v),  Initial(v),
                                SetAllSelf(v),    {{kCreate}},      {{kDestroy}}};
  if (controller) {
    methods.push_back({{v.cIniRead}});
    methods.push_back({{v.cIniWrite}});
  }
  return methods;
}

TName SetSelf(const TVocabulary& v, std::string_view field) {
  return {{"Set", v.cSelf, ItemName(field)}};
}
TName Set(std::string_view field) { return {{"Set", ItemName(field)}}; }
TName GetSelf(const TVocabulary& v, std::string_view field) {
  return {{"Get", v.cSelf, ItemName(field)}};
}
TName Get(std::string_view field) { return {{"Get", ItemName(field)}}; }

std::array<TName, 5> FieldMembers(const TVocabulary& v, std::string_view field) {
  return {TName{{field}}, SetSelf(v, field), Set(field), GetSelf(v, field), Get(field)};
}

std::string_view Escape(std::string_view identifier) {
  return IsReservedWord(identifier) ? "&" : "";
}

std::string ObjectVariable(std::string_view item) { return std::string("O").append(item); }

TName IniReadMethod(std::string_view type) { return {{"Read", type}}; }
TName IniWriteMethod(const TVocabulary& v, std::string_view type) {
  return {{v.cCheck, "Write", type}};
}

}  // namespace names

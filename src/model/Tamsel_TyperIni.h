// The INI-controller class definition: a class with fields that also loads
// the persisted fields from an INI file and stores them there.
#pragma once

#include <string_view>

#include "model/Tamsel_FielderList.h"

class TTyperIni : public TFielderList {
 public:
  using TFielderList::TFielderList;

  void WriteIniMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniReadHead(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniWriteHead(TWritePas& out, const TVocabulary& vocabulary) const override;
};

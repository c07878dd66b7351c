// A class definition that holds fields: it declares them and writes the whole
// generated method family of the class.
#pragma once

#include <string_view>
#include <vector>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_Typer.h"

/// A class that holds fields, in definition-file order.
class TFielderList : public TTyper {
 public:
  using TTyper::TTyper;
  ~TFielderList() override;

  /// Appends a field to the class.
  void AddField(const TFielder& field) { FFields.push_back(field); }
  /// The fields in definition-file order.
  const std::vector<TFielder>& Fields() const { return FFields; }
  std::vector<TFielder>& Fields() { return FFields; }

  bool HasField(std::string_view name) const override;
  void WriteFieldDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const override;

 private:
  /// The parameters of SetAllSelf, "a:T1;b:T2", without a line end.
  void WriteParamList(TWritePas& out) const;
  void WriteInitialBodies(TWritePas& out, const TVocabulary& vocabulary) const;
  void WriteCreateAndDestroy(TWritePas& out, const TVocabulary& vocabulary) const;

  std::vector<TFielder> FFields;
};

// A class definition that holds fields: it declares them and writes the whole
// generated method family of the class.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_Typer.h"

class TFielderList : public TTyper {
 public:
  TFielderList(std::string name, std::string parent);
  ~TFielderList() override;

  /// Appends the field and takes ownership of it.
  const TFielder& AddField(std::unique_ptr<TFielder> field);
  /// The fields in definition-file order.
  const std::vector<std::unique_ptr<TFielder>>& Fields() const { return FFields; }

  bool HasField(std::string_view name) const override;
  void WriteFieldDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const override;

 private:
  /// The parameters of SetAllSelf, "a:T1;b:T2", without a line end.
  void WriteParamList(TWritePas& out) const;

  std::vector<std::unique_ptr<TFielder>> FFields;
};

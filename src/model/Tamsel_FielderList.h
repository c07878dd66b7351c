// A class definition that holds fields: it declares them and writes the whole
// generated method family of the class.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_Typer.h"

/// A class that holds fields. The fields of every class stand in one store
/// that the class list keeps, class after class; a class's own fields are a
/// run in it, starting where the store ended when the class was created.
class TFielderList : public TTyper {
 public:
  /// The class's fields are those it adds to `store` from now on.
  TFielderList(std::string name, std::string parent, TFielderStore& store);
  ~TFielderList() override;

  /// Appends `field` to the class's fields, at the end of the store. Fields
  /// may only be added to the newest class, the last one created on the
  /// store; the loader only does that, adding each field to the class it is
  /// filling. The store must end with this class's own fields: when another
  /// class's field follows them, this throws std::logic_error and adds
  /// nothing. So a class's fields are always exactly those added to it.
  void AddField(const TFielder& field);
  /// The fields in definition-file order.
  std::span<const TFielder> Fields() const { return {FStore.data() + FFirst, FCount}; }

  bool HasField(std::string_view name) const override;
  void WriteFieldDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const override;

 private:
  /// The parameters of SetAllSelf, "a:T1;b:T2", without a line end.
  void WriteParamList(TWritePas& out) const;

  TFielderStore& FStore;
  std::size_t FFirst;
  std::size_t FCount = 0;
};

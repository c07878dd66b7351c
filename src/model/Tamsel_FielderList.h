// A class definition that holds fields: it declares them and writes the whole
// generated method family of the class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_Typer.h"

/// One field as the class list keeps it: its definition line after the indent,
/// "name:type;value", and where that line splits. A million fields take 24 MB.
/// The name is line[0, nameSize), the value line[valueStart, size), and the
/// type what lies between them after the ":" and before the ";" (nothing when
/// the ";" comes first).
struct TFieldEntry {
  const char* line;
  std::uint32_t nameSize;
  std::uint32_t valueStart;
  std::uint32_t size;
  bool redefined;
  bool skipIni;

  std::string_view Name() const { return {line, nameSize}; }
  TFielder Field() const {
    const std::string_view type = valueStart > nameSize + 1
                                      ? std::string_view(line + nameSize + 1,
                                                         valueStart - nameSize - 2)
                                      : std::string_view();
    return TFielder(Name(), type, std::string_view(line + valueStart, size - valueStart),
                    redefined, skipIni);
  }
};

static_assert(sizeof(TFieldEntry) <= 24);

/// A run of entries, walked as the fields they describe.
class TFieldRange {
 public:
  class Iterator {
   public:
    explicit Iterator(const TFieldEntry* entry) : entry_(entry) {}
    TFielder operator*() const { return entry_->Field(); }
    Iterator& operator++() {
      ++entry_;
      return *this;
    }
    bool operator==(const Iterator&) const = default;

   private:
    const TFieldEntry* entry_;
  };

  TFieldRange(const TFieldEntry* first, std::size_t count) : first_(first), count_(count) {}
  Iterator begin() const { return Iterator(first_); }
  Iterator end() const { return Iterator(first_ + count_); }
  std::size_t size() const { return count_; }

 private:
  const TFieldEntry* first_;
  std::size_t count_;
};

/// The fields of every class stand in one store that the class list keeps,
/// class after class; a class's own fields are a run in it. Fields are only
/// ever appended to the newest class, so that run is always contiguous.
class TFielderList : public TTyper {
 public:
  /// The class's fields are those appended to `store` from now on.
  TFielderList(std::string name, std::string parent, const std::vector<TFieldEntry>& store);
  ~TFielderList() override;

  /// Counts the field just appended to the store as the class's own.
  void FieldAppended() { ++FCount; }
  /// The fields in definition-file order.
  TFieldRange Fields() const { return {FStore.data() + FFirst, FCount}; }

  bool HasField(std::string_view name) const override;
  void WriteFieldDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const override;
  void WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const override;

 private:
  /// The parameters of SetAllSelf, "a:T1;b:T2", without a line end.
  void WriteParamList(TWritePas& out) const;

  const std::vector<TFieldEntry>& FStore;
  std::size_t FFirst;
  std::size_t FCount = 0;
};

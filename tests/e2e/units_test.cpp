// Definition files run through the built executable: the golden units, the
// constants copy of a definition that is its own constants file, and the
// runs that must leave an existing unit as it was.
#include <gtest/gtest.h>

#include "E2eSupport.h"

namespace {

namespace fs = std::filesystem;
using e2e::ReadFile;
using e2e::Sandbox;
using e2e::WriteFile;

const std::string kUnits = std::string(TAMSEL_GOLDEN_DIR) + "/units/";
using e2e::kMalformedMessage;

// Copies `<dir><name>.txt` (and `<name>.ini` as the settings file, when
// `withSettings`) into a sandbox, runs the generator and compares the unit
// with `<dir><name>.pas`.
void ExpectGoldenUnit(const std::string& dir, const std::string& name, bool withSettings) {
  Sandbox box;
  fs::copy_file(dir + name + ".txt", box.Path(name + ".txt"));
  if (withSettings) fs::copy_file(dir + name + ".ini", box.Ini());
  const e2e::Result r = box.Run({name + ".txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
  // The shipped examples compile, so nothing is reported; the other golden
  // definitions keep units Free Pascal rejects, each with a Warning or Note.
  if (dir == std::string(TAMSEL_EXAMPLES_DIR) + "/") {
    EXPECT_EQ(r.err, "");
  } else {
    EXPECT_NE(r.err, "");
    EXPECT_EQ(e2e::Reports(r.err), "") << r.err;
  }
  EXPECT_EQ(ReadFile(box.Path(name + ".pas")), ReadFile(dir + name + ".pas")) << name;
}

TEST(Units, GoldenDefinitionsGiveTheirUnitsByteForByte) {
  ExpectGoldenUnit(kUnits, "ini_first", false);
  ExpectGoldenUnit(std::string(TAMSEL_EXAMPLES_DIR) + "/", "sample", false);
}

TEST(Units, GoldenDefinitionsUnderRenamedSettings) {
  for (const char* name : {"self_initial", "initer", "tab4"})
    ExpectGoldenUnit(kUnits + "renamed/", name, true);
}

TEST(Units, ADefinitionFileNamedConstIsItsOwnConstantsFile) {
  Sandbox box;
  WriteFile(box.Path("d.const"), "TA(TB)\r\n");
  const e2e::Result r = box.Run({"d.const"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string unit = ReadFile(box.Path("d.pas"));
  EXPECT_NE(unit.find("\r\nvar\r\n  OA:TA;\r\n\r\nTA(TB)\r\n\r\nimplementation\r\nend.\r\n"),
            std::string::npos)
      << unit;
}

TEST(Units, AMalformedDefinitionLeavesTheExistingUnitAsItWas) {
  for (const char* definition : {"TA\r\n  Fa:integer;1\r\n   Fb:integer;2\r\n",
                                 "TA\r\n  Fa:integer\r\n",     // no ";"
                                 "  Fa:integer;1\r\nTA\r\n"})  // no class yet
  {
    Sandbox box;
    WriteFile(box.Path("d.txt"), definition);
    WriteFile(box.Path("d.pas"), "old unit");
    const e2e::Result r = box.Run({"d.txt"});
    EXPECT_EQ(r.exitCode, 2) << definition;
    EXPECT_EQ(r.out, kMalformedMessage) << definition;
    EXPECT_EQ(e2e::Reports(r.err), "") << definition;
    EXPECT_NE(r.err.find(") Error: "), std::string::npos) << definition;
    EXPECT_EQ(ReadFile(box.Path("d.pas")), "old unit") << definition;
    EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"})) << definition;
  }
}

TEST(Units, ABooleanThatIsNotAnIntegerFailsAndNamesClassFieldAndValue) {
  Sandbox box;
  WriteFile(box.Path("d.txt"), "TOption\r\n  Fok:boolean;1\r\n  Fflag:boolean;yes\r\n");
  WriteFile(box.Path("d.pas"), "old unit");
  const e2e::Result r = box.Run({"d.txt"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  // The place of the value first, then the report.
  EXPECT_EQ(r.err.rfind("d.txt(3,17) Error: ", 0), 0u) << r.err;
  const std::string report = e2e::Reports(r.err);
  for (const char* part : {"TOption", "Fflag", "yes"})
    EXPECT_NE(report.find(part), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(box.Path("d.pas")), "old unit");
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.pas", "d.txt"}));

  // Without an existing unit none is left behind.
  fs::remove(box.Path("d.pas"));
  EXPECT_EQ(box.Run({"d.txt"}).exitCode, 1);
  EXPECT_EQ(box.Files(), (std::vector<std::string>{"d.txt"}));
}

}  // namespace

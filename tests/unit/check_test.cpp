// The checks of a definition, rule by rule: an in-memory definition and the
// exact findings it gives, as "line,column severity: text".
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "check/Tamsel_Check.h"
#include "check/Tamsel_Diagnostics.h"
#include "model/Tamsel_TyperList.h"
#include "settings/Tamsel_ini.h"

namespace {

using Findings = std::vector<std::string>;

// The expected findings, their text converted for the console as the
// program converts its messages (a no-op where the console reads UTF-8).
Findings Expect(std::initializer_list<std::string_view> lines) {
  Findings findings;
  for (std::string_view line : lines) findings.push_back(MessageText(line));
  return findings;
}

Findings Check(std::string_view definition, const TVocabulary& vocabulary = TVocabulary(),
               std::string_view unitName = "opts") {
  TTyperList list(false, vocabulary);
  TDiagnostics out;
  if (list.LoadText(definition))
    CheckDefinition(list, vocabulary, unitName, out);
  else
    ReportLoadFailure(list, vocabulary, out);
  Findings findings;
  for (const TDiagnostic& d : out.Items()) {
    const char* kind = d.severity == TSeverity::kError     ? "E"
                       : d.severity == TSeverity::kWarning ? "W"
                                                           : "N";
    findings.push_back(std::to_string(d.place.line) + "," + std::to_string(d.place.column) + " " +
                       kind + ": " + d.text);
  }
  return findings;
}

TEST(Check, ACleanDefinitionGivesNothing) {
  EXPECT_EQ(Check("TA\n  FName:string;x\nTB(TA)\n  FName:string;y\n  FPort:integer;80\n"
                  "TIniter(TB)\n"),
            Findings{});
}

TEST(Check, LoadFailuresAreErrorsAtTheirByte) {
  EXPECT_EQ(Check("TA\n   Fa:integer;1\n"),
            Expect({"2,4 E: 字下げが空白 3 個です。設定 Tab では 2 個です"}));
  EXPECT_EQ(Check("TA\n  Fa;integer\n  Fb:integer\n"),
            Expect({"2,3 E: フィールド行に \":\" がありません"}));
  EXPECT_EQ(Check("TA\n  Fb:integer\n"), Expect({"2,13 E: フィールド行に \";\" がありません"}));
  EXPECT_EQ(Check("  Fa:integer;1\nTA\n"),
            Expect({"1,1 E: 最初のクラス行より前にフィールド行があります"}));
}

// Each field gets its most telling clash with a name declared before it.
TEST(Check, MembersClashWithTheNamesDeclaredBefore) {
  EXPECT_EQ(Check("TA\n  Fa:integer;1\n  FA:integer;2\n  FA:integer;3\n"),
            Expect({"3,3 W: フィールド \"FA\" と \"Fa\" は大文字小文字だけが違います",
                      "4,3 W: フィールド \"FA\" はクラス \"TA\" にすでにあります"}));
  EXPECT_EQ(Check("TA\n  FName:string;1\n  FSelfName:string;2\n"),
            Expect({"3,3 W: フィールド \"FSelfName\" から作る名前 \"SetSelfName\" がフィールド "
                     "\"FName\" から作る名前と重なります"}));
  // The class's own methods count too: Free Pascal refuses a field Create.
  EXPECT_EQ(Check("TA\n  Create:integer;1\n  FAllSelf:integer;2\n"),
            Expect({"2,3 W: フィールド \"Create\" から作る名前 \"Create\" がクラスのメソッド "
                      "\"Create\" と重なります",
                      "3,3 W: フィールド \"FAllSelf\" から作る名前 \"SetAllSelf\" がクラスのメソッド "
                      "\"SetAllSelf\" と重なります"}));
  // The INI controller's read and write procedures as well.
  EXPECT_EQ(Check("TIniter\n  iniRead:integer;1\n"),
            Expect({"2,3 W: フィールド \"iniRead\" から作る名前 \"iniRead\" がクラスのメソッド \"iniRead\" と重なります"}));
}

TEST(Check, FieldNamesTypesAndValues) {
  EXPECT_EQ(Check("TA\n  F1:integer;1\n"),
            Expect({"2,3 W: フィールド名 \"F1\" から先頭の 1 文字を除いた \"1\" は引数の名前に使えません"}));
  EXPECT_EQ(Check("TA\n  Fa:;1\n"), Expect({"2,6 W: フィールド \"Fa\" に型がありません"}));
  EXPECT_EQ(Check("TA\n  Fa:integer;1e5\n"),
            Expect({"2,14 W: 初期値 \"1e5\" は型 \"integer\" の数値ではありません"}));
  EXPECT_EQ(Check("TA\n  Fa:byte;256\n"),
            Expect({"2,11 W: 初期値 256 は型 \"byte\" の範囲を超えています"}));
  EXPECT_EQ(Check("TA\n  Fa:boolean;yes\n"),
            Expect({"2,14 E: boolean の初期値 \"yes\" が整数ではありません"}));
  EXPECT_EQ(Check("TA\n  Fa:char;ab\n"), Expect({"2,11 W: 型 \"char\" の初期値は 1 文字です: \"ab\""}));
  // An unknown type is noted once, at its first field.
  EXPECT_EQ(Check("TA\n  Fa:TPoint;x\n  Fb:tpoint;y\n"),
            Expect({"2,6 N: 型 \"TPoint\" は Tamsel の知らない型です。初期値は文字列として書かれます"}));
}

// Values as the unit's text gives them to Pascal: a string already in
// quotes breaks apart, "5.)" in an INI read is "]", a brace comment is one.
TEST(Check, ValuesAsTheUnitWritesThem) {
  EXPECT_EQ(Check("TA\n  Ft:string;'My App'\n"),
            Expect({"2,13 W: 初期値 \"'My App'\" が ' で囲まれています。値は ' の間に書かれるので、囲む ' は要りません"}));
  EXPECT_EQ(Check("TA\n  Ft:string;'+IntToStr(1)+'\n  Fu:string;''x''\n"), Findings{});
  EXPECT_EQ(Check("TA\n  Fz:double;5.\n"), Findings{});
  EXPECT_EQ(Check("TA\n  Fz:double;5.\nTIniter(TA)\n"),
            Expect({"2,13 W: 初期値 \"5.\" が \".\" で終わっています。INI ファイルを読む行で \".)\" が \"]\" と読まれるので \"5.0\" と書いてください"}));
  EXPECT_EQ(Check("TA\n  Fw:integer;0 { px }\n"),
            Expect({"2,14 N: 初期値の後のコメント \"{ px }\" もユニットに書かれます"}));
  EXPECT_EQ(Check("TA\n  Fw:integer;x { px }\n").size(), 2u);  // a comment does not make a name a number
  EXPECT_EQ(Check("TA\n  Fw:TDateTime;45000.5\n  Fd:tdate;0\n"), Findings{});
  // A blank before ";" leaves a stored string's INI calls whole; one after ":" does not.
  EXPECT_EQ(Check("TA\n  Fn:string ;x\nTIniter(TA)\n"),
            Expect({"2,6 N: 型 \"string \" の前後に空白があります"}));
  EXPECT_EQ(Check("TA\n  Fn: string;x\nTIniter(TA)\n"),
            Expect({"2,6 W: 型 \" string\" の前後に空白があります"}));
}

// A descendant's field whose name differs from an ancestor's only in its
// first character makes the same accessors, which hide the ancestor's.
TEST(Check, AccessorsHidingAnAncestorsAreFound) {
  EXPECT_EQ(Check("TA\n  FHost:string;h\nTB(TA)\nTC(TB)\n  mHost:string;m\n  FPort:integer;1\n"),
            Expect({"5,3 W: フィールド \"mHost\" のアクセサ \"SetHost\" などが祖先 \"TA\" のフィールド \"FHost\" のものを隠します (override しません)"}));
  // Unrelated classes, and the same name again, hide nothing.
  EXPECT_EQ(Check("TA\n  FHost:string;h\nTB\n  mHost:string;m\nTC(TA)\n  FHost:string;i\n"), Findings{});
}

// Every class before the INI controller with fields is its ancestor, or
// has only fields the controller declares too. A chain cut off by an
// unknown parent is reported at that parent, the classes it cuts off noted.
TEST(Check, TheControllerReachesTheStoredFields) {
  EXPECT_EQ(Check("TA\n  Fx:integer;1\nTIniter\n  fx:integer;2\n"), Findings{});
  EXPECT_EQ(Check("TA\n  Fx:integer;1\n  Fy:integer;1\nTIniter\n  Fx:integer;2\n"),
            Expect({"1,1 W: クラス \"TA\" は INI 制御クラス \"TIniter\" の祖先ではないので、そのフィールドを "
                    "INI ファイルに読み書きできません"}));
  EXPECT_EQ(Check("TA\n  Fx:integer;1\nTB(TAA)\nTIniter(TB)\n"),
            Expect({"3,4 N: 親クラス \"TAA\" はこのファイルにありません。使うユニットにあるはずです",
                    "4,9 N: 親クラス \"TB\" の系統はこのファイルの外に続きます。そこで \"Initial\" を virtual で"
                    "宣言していなければ override できません",
                    "3,4 W: INI 制御クラス \"TIniter\" の系統は親クラス \"TAA\" でこのファイルを出るので、前のク"
                    "ラスのフィールドを読み書きできません。親クラス名を確かめてください",
                    "1,1 N: クラス \"TA\" は INI 制御クラス \"TIniter\" の祖先ではないので、そのフィールドを "
                    "INI ファイルに読み書きできません"}));
}

TEST(Check, ClassesAndTheirParents) {
  EXPECT_EQ(Check("TA\nTA\n"), Expect({"2,1 W: クラス \"TA\" はすでに定義されています"}));
  EXPECT_EQ(Check("TB(TA)\n  Fb:integer;1\nTA\n  Fa:integer;1\n"),
            Expect({"1,4 W: 親クラス \"TA\" はこの行より後で定義されています"}));
  // A chain without fields declares Initial anew; but a parent written in
  // another letter case is not the loader's, so the unit overrides one
  // Pascal's chain lacks.
  EXPECT_EQ(Check("TA(TObject)\n  Fa:integer;1\nTB\nTC(TB)\n  Fc:integer;1\n"), Findings{});
  EXPECT_EQ(Check("TA\nTB(ta)\n  Fb:integer;1\n"),
            Expect({"2,4 W: 親クラス \"ta\" の系統に \"Initial\" がない (フィールドを持つクラスがない) ので "
                     "override できません"}));
  // A parent from Classes needs that unit named in UseUnit.
  EXPECT_EQ(Check("TA(TPersistent)\n"),
            Expect({"1,4 W: 親クラス \"TPersistent\" は Classes ユニットのクラスです。設定 UseUnit に Classes "
                     "を加えてください (UseUnit=Tamsel_common, Classes)"}));
  TVocabulary withClasses;
  withClasses.UseUnit = "Tamsel_common , classes";
  EXPECT_EQ(Check("TA(TPersistent)\n  Fa:integer;1\nTIniter(TA)\n", withClasses), Findings{});
  // The last character of a class line is dropped as its ")".
  EXPECT_EQ(Check("TA(TB\n"),
            Expect({"1,6 W: クラス行が \")\" で終わっていません",
                      "1,4 N: 親クラス \"T\" はこのファイルにありません。使うユニットにあるはずです"}));
  EXPECT_EQ(Check("TX\nOX\n"),
            Expect({"1,1 W: クラス \"TX\" のオブジェクト変数 \"OX\" がクラス \"OX\" と同じ名前です",
                      "2,1 W: クラス \"OX\" のオブジェクト変数 \"OX\" がクラス \"OX\" と同じ名前です"}));
}

TEST(Check, ClassLinesTheLoaderMayTakeOtherwise) {
  EXPECT_EQ(Check("TA \n"), Expect({"1,4 N: クラス名の後に空白があります"}));
  EXPECT_EQ(Check("TIniter \n"),
            Expect({"1,9 N: クラス名の後に空白があるので \"TIniter\" は INI 制御クラスになりません"}));
  EXPECT_EQ(Check("Fa:integer;1\n"),
            Expect({"1,1 W: クラス行に \":\" か \";\" があります。字下げのないフィールド行ではありませんか"}));
  EXPECT_EQ(Check("TA(TObject, IUnknown)\n"),
            Expect({"1,11 N: インターフェースのメソッドは生成されません。親クラスが実装していなければコンパイルできません"}));
  EXPECT_EQ(Check("TA(TBase)\n  Fa:integer;1\n"),
            Expect({"1,4 N: 親クラス \"TBase\" の系統はこのファイルの外に続きます。そこで \"Initial\" を virtual で宣言していなければ override できません"}));
  EXPECT_EQ(Check("TIniter\nTIniter\n"), Expect({"2,1 W: INI 制御クラス \"TIniter\" が二つあります"}));
}

TEST(Check, StringValuesAndTypesWrittenAsTheyStand) {
  EXPECT_EQ(Check("TA\n  Fa:string;it's\n"),
            Expect({"2,13 W: 初期値 \"it's\" の ' の数が奇数です。文字列の中の ' は '' と二つ書きます"}));
  EXPECT_EQ(Check("TA\n  Fa:string; x\n"),
            Expect({"2,13 N: 初期値 \" x\" の前後の空白も文字列に入ります"}));
  EXPECT_EQ(Check("TA\n  Fa:shortstring;" + std::string(256, 'x') + "\n"),
            Expect({"2,18 W: shortstring の初期値が 255 文字を超えています"}));
  // Blanks around a type break numbers and stored fields; elsewhere they are
  // only noted.
  EXPECT_EQ(Check("TA\n  Fa:integer ;1\n"), Expect({"2,6 W: 型 \"integer \" の前後に空白があります"}));
  EXPECT_EQ(Check("TA\n  Fa:string ;x\n"), Expect({"2,6 N: 型 \"string \" の前後に空白があります"}));
  EXPECT_EQ(Check("TA\n  Fa:TA;x\n"),
            Expect({"2,6 W: 型 \"TA\" はこのファイルのクラスです。初期値は文字列として書かれるので代入できません"}));
}

TEST(Check, WhatTheIniControllerStores) {
  EXPECT_EQ(Check("TA\n  Fa:TPoint;x\nTIniter(TA)\n"),
            Expect({"2,6 W: 型 \"TPoint\" のフィールドは INI ファイルに読み書きできません (TIniFileMine に ReadTPoint がありません)"}));
  EXPECT_EQ(Check("TA\n  IniFile:integer;1\nTIniter(TA)\n"),
            Expect({"2,3 W: フィールド名 \"IniFile\" は INI ファイルを読み書きする手続きの変数に隠されます"}));
  TVocabulary vocabulary;
  vocabulary.cCheck = "Safe";
  EXPECT_EQ(Check("TA\n  Fa:integer;1\nTIniter(TA)\n", vocabulary),
            Expect({"3,1 W: INI ファイルのクラス \"TIniFileMine\" に \"SafeWrite...\" のメソッドはありません (設定 cCheck)"}));
  vocabulary = TVocabulary();
  vocabulary.UseUnit = "";
  EXPECT_EQ(Check("TIniter\n", vocabulary),
            Expect({"1,1 W: INI ファイルのクラス \"TIniFileMine\" (設定 cTIniFileMine) を宣言するユニットがありません (UseUnit \"\")"}));
}

// The nearest ancestor with a field of the name decides; letter case and the
// parent's spelling matter to the loader, not to Pascal.
TEST(Check, FieldsMeetTheFieldsOfTheirAncestors) {
  EXPECT_EQ(Check("TA\n  Fx:integer;1\nTB(TA)\n  FX:integer;2\n"),
            Expect({"4,3 W: フィールド \"FX\" は祖先 \"TA\" のフィールド \"Fx\" と大文字小文字だけが違うので "
                     "override しません"}));
  EXPECT_EQ(Check("TA\n  Fx:integer;1\nTB(ta)\n  Fx:integer;2\n"),
            Expect({"4,3 W: フィールド \"Fx\" は祖先 \"TA\" のフィールドを override しません。親クラス名の書き方 "
                     "(大文字小文字や空白) が違います"}));
  EXPECT_EQ(Check("TA\n  Fx:integer;1\nTB(TA)\nTC(TB)\n  Fx:string;2\n"),
            Expect({"5,3 W: フィールド \"Fx\" の型 \"string\" が祖先 \"TA\" での型 \"integer\" と違います"}));
  EXPECT_EQ(Check("TA\n  FSection:string;x\nTIniter(TA)\n"),
            Expect({"3,1 W: INI 制御クラスの自動フィールド \"FSection\" が祖先 \"TA\" の同じ名前のフィールドを隠します"}));
}

TEST(Check, TheControllerMustDescendFromEveryStoredClass) {
  EXPECT_EQ(Check("TA\n  Fa:integer;1\nTB\n  Fb:integer;1\nTIniter(TB)\n"),
            Expect({"1,1 W: クラス \"TA\" は INI 制御クラス \"TIniter\" の祖先ではないので、そのフィールドを INI "
                     "ファイルに読み書きできません"}));
}

TEST(Check, SettingsAndTheUnitName) {
  TVocabulary vocabulary;
  vocabulary.cSelf = "";
  EXPECT_EQ(Check("TA\n  Fa:integer;1\n", vocabulary, "2nd"),
            Expect({"0,0 W: 定義ファイル名から作るユニット名 \"2nd\" は Pascal のユニット名になりません",
                      "0,0 W: 設定から作るメソッド名 \"Initial\" が二度使われます",
                      "0,0 W: 設定 cSelf \"\" からは SetSelf と Set を区別するメソッド名が作れません"}));
  EXPECT_EQ(Check("TA\n", TVocabulary(), "SysUtils"),
            Expect({"0,0 W: ユニット名 \"SysUtils\" は生成するユニットが使うユニットと同じ名前です"}));
}

// Many fields of one name in one class, or in siblings, are each compared
// with what their own chain holds only.
TEST(Check, ManyFieldsOfOneNameMeetOnlyTheirChain) {
  std::string definition = "TB\n  Fz:integer;1\nTA(TB)\n";
  for (int i = 0; i < 3; ++i) definition += "  Fx:integer;1\n";
  EXPECT_EQ(Check(definition), Expect({"5,3 W: フィールド \"Fx\" はクラス \"TA\" にすでにあります",
                                       "6,3 W: フィールド \"Fx\" はクラス \"TA\" にすでにあります"}));
  EXPECT_EQ(Check("TBase\n  FValue:integer;1\nTS1(TBase)\n  FValue:integer;2\nTS2(TBase)\n"
                  "  FValue:string;x\n"),
            Expect({"6,3 W: フィールド \"FValue\" の型 \"string\" が祖先 \"TBase\" での型 \"integer\" と違います"}));
}

// Beyond the cap, findings are counted, not kept; the first ones stay.
TEST(Check, FindingsBeyondTheCapAreCounted) {
  std::string definition = "TA\n";
  for (std::size_t i = 0; i < TDiagnostics::kMaxShown + 5; ++i) definition += "  Fa:integer;1\n";
  const Findings findings = Check(definition);
  ASSERT_EQ(findings.size(), TDiagnostics::kMaxShown);
  EXPECT_EQ(findings.front(), "3,3 W: フィールド \"Fa\" はクラス \"TA\" にすでにあります");
  TDiagnostics out;
  for (std::size_t i = 0; i < TDiagnostics::kMaxShown + 2; ++i)
    out.Add(TSeverity::kNote, {i + 1, 1}, "x");
  EXPECT_NE(out.Format("d.txt").find("ほかに 2 件"), std::string::npos);
}

}  // namespace

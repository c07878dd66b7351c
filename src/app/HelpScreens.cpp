// The help screens and the banner. Fixed texts are held as UTF-8 and converted for the console when
// printed; names taken from the executable's path are printed as they are.
#include "app/HelpScreens.h"

#include "app/Switches.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "text/Ascii.h"

namespace {

constexpr const char* kVersion = "1.0";

// The detailed block, line by line; nullptr stands for the line naming the documentation file.
constexpr const char* kDetailedBlock[] = {
    " [/?]             簡単な使い方と、バージョン、作者情報を表示する。",
    "                  [-?] [+?]でも同じ処理を行い、他のパラメータは無視する。",
    nullptr,
    "",
    "※ 作成元ファイルは次のような形式をとる。",
    "",
    "TOption             … \"T\"＋クラス名",
    "  Fxxx:string;123   … 2byteスペースの後に、\"F\"＋フィールド名:型;初期値",
    "  Fyyy:integer;456",
    "  Fzzz:boolean;1    … boolean型の初期値は、0:False、1:Trueで設定",
    "TIniter(TOption)    … 括弧内のクラスから継承するクラス名",
    "TParam(TIniter)",
    "  Fxxx:string;789",
    "",
    "※ クラス名には先頭に\"T\"、フィールド名には先頭に\"F\"を付与します。",
    "   内部処理的に２文字目以降をアイテム名として使用するので留意して下さい。",
    "",
    "※ \"TIniter\"は、iniファイルのread、writeを制御するクラスで、",
    "   iniファイル名を格納する\"FFileName\"フィールド、",
    "   セクションを格納する\"FSection\"フィールドを自動生成します。",
    "",
    "※ プログラムによって作られるメソッドは、下記のようなものです。",
    "InitialSelf         ：指定したクラスのフィールドのみ初期値を設定する。",
    "InitialSuper        ：指定したクラスの上位フィールドと同じ値を設定設定する。",
    "Initial             ：上位クラスの同メソッドを実行する継承メソッドとして",
    "                      初期値を設定する。",
    "SetAllSelf          ：引数により、全項目を設定する。",
    "SetSelfフィールド名 ：指定したクラスのフィールドに値を設定する。",
    "Setフィールド名     ：継承したメソッドとしてフィールドに値を設定する。",
    "GetSelfフィールド名 ：指定したクラスのフィールド値を取得する。",
    "Getフィールド名     ：継承したメソッドとしてフィールドの値を取得する。",
    "Create              ：constructor",
    "                      継承元の\"create\"メソッドを実行、",
    "                      \"Initial\"メソッドを実行、",
    "                      \"TIniter\"クラスは、さらに\"iniRead\"メソッドを実行。",
    "Destroy             ：destructor",
    "                      継承元の\"Destroy\"メソッドを実行。",
    "                      \"TIniter\"クラスは、さらに\"iniWrite\"メソッドを実行。",
    "",
    "※ \"TIniter\"クラスには下記メソッドも生成する。",
    "iniRead             ：iniファイルからアイテムを取得する。",
    "iniWrite            ：iniファイルにアイテムを書き込む。",
    "",
};

// A fixed text for the console, and a line of it.
std::string Text(std::string_view utf8) { return platform::ConsoleText(utf8); }
std::string Line(std::string_view utf8 = {}) { return Text(utf8) + '\n'; }

std::string UsageLine(const std::string& exePath) {
  return platform::ConsolePath(platform::ChangeFileExt(platform::ExtractFileName(exePath), "")) +
         Line(" 作成元ファイル名|[/?[?]]");
}

// The product line, a note when the executable was renamed (its own file name compared, so a link
// to it under another name prints the same), and the ownership line.
std::string Banner(const std::string& exePath) {
  std::string s = Line(std::string("\"Tamsel.exe\" for command-prompt of WindowsXP  version ") + kVersion);
  const std::string exeName = platform::ExtractFileName(exePath);
  if (!texts::SameTextAscii(exeName, "Tamsel" + std::string(platform::ExecutableSuffix())))
    s += Text(" ( \"") + platform::ConsolePath(exeName) + Line("\" is not original name )");
  return s + Line("Copyright (C) the Tamsel developers. Free to use and to share.");
}

// The line naming the documentation file: "Tamsel" followed by the version's digits.
std::string DocumentationLine() {
  return Text("                  さらに詳しい説明は、\"") + "Tamsel" + kVersion[0] + kVersion[2] + ".txt" +
         Line("\"参照のこと。");
}

}  // namespace

std::string HelpScreen(int code, const std::string& exePath) {
  if (code == kVersionSwitch) return Banner(exePath);
  const bool detailed = code == 3 || code == 8;
  const bool brief = code == 1 || code == 2 || code == 6 || code == 7;
  std::string s = Line() + Line("クラス名とフィールド名を指定して、Delphi用プログラムコードを生成する。");
  s += Line() + UsageLine(exePath);
  if (detailed || brief) {
    s += Line() + Text(" 作成元ファイル名 クラス名、フィールド名等を記したファイル");
    s += Line(detailed ? "、詳細は後述。" : "。");
  }
  if (brief) s += Line(" [/??]            詳細な使い方を表示する。");
  if (detailed) {
    for (const char* line : kDetailedBlock) s += line ? Line(line) : DocumentationLine();
    s += UsageLine(exePath);
  }
  return s + Line() + Banner(exePath);
}

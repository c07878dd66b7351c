// The help screens and the banner. Fixed texts are held as UTF-8 and
// converted for the console when printed; names taken from the executable's
// path are printed as they are.
#include "app/HelpScreens.h"

#include <iterator>

#include "app/Switches.h"
#include "text/Ascii.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kVersion = "1.0";

// The detailed block, line by line.
constexpr const char* kDetailedBlock[] = {
    " [/?]             簡単な使い方と、バージョン、作者情報を表示する。",
    "                  [-?] [+?]でも同じ処理を行い、他のパラメータは無視する。",
    nullptr,  // the documentation line, composed from the version
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

// Console output being assembled: converted fixed text and raw names.
class Screen {
 public:
  Screen& Text(std::string_view utf8) {
    out_ += platform::ConsoleText(utf8);
    return *this;
  }
  Screen& Raw(std::string_view bytes) {
    out_ += bytes;
    return *this;
  }
  Screen& Line(std::string_view utf8 = {}) {
    Text(utf8);
    out_ += '\n';
    return *this;
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

void UsageLine(Screen& s, const std::string& exePath) {
  s.Raw(platform::ConsolePath(platform::ChangeFileExt(platform::ExtractFileName(exePath), "")));
  s.Line(" 作成元ファイル名|[/?[?]]");
}

// The banner: the product line, a note when the executable was renamed, and
// the ownership line. The name compared is the executable's own file name,
// so a link to it under another name prints the same banner.
void Banner(Screen& s, const std::string& exePath) {
  s.Text("\"Tamsel.exe\" for command-prompt of WindowsXP").Line(std::string("  version ") + kVersion);
  const std::string exeName = platform::ExtractFileName(exePath);
  const std::string original = std::string("Tamsel") + std::string(platform::ExecutableSuffix());
  if (!texts::SameTextAscii(exeName, original))
    s.Text(" ( \"").Raw(platform::ConsolePath(exeName)).Line("\" is not original name )");
  s.Line("Copyright (C) the Tamsel developers. Free to use and to share.");
}

}  // namespace

std::string DocumentationFileName() {
  std::string v = kVersion;
  return std::string("Tamsel") + v[0] + v[2] + ".txt";
}

std::string HelpScreen(int code, const std::string& exePath) {
  Screen s;
  if (code == kVersionSwitch) {
    Banner(s, exePath);
    return s.Take();
  }
  const bool detailed = code == 3 || code == 8;
  const bool brief = code == 1 || code == 2 || code == 6 || code == 7;
  s.Line();
  s.Line("クラス名とフィールド名を指定して、Delphi用プログラムコードを生成する。");
  s.Line();
  UsageLine(s, exePath);
  if (detailed || brief) {
    s.Line();
    s.Text(" 作成元ファイル名 クラス名、フィールド名等を記したファイル");
    s.Line(detailed ? "、詳細は後述。" : "。");
  }
  if (brief) s.Line(" [/??]            詳細な使い方を表示する。");
  if (detailed) {
    for (const char* line : kDetailedBlock) {
      if (line)
        s.Line(line);
      else
        s.Text("                  さらに詳しい説明は、\"").Text(DocumentationFileName()).Line("\"参照のこと。");
    }
    UsageLine(s, exePath);
  }
  s.Line();
  Banner(s, exePath);
  return s.Take();
}

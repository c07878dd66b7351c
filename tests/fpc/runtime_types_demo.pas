{ Round trip of every field type through TIniFileMine.

  runtime_types_demo first <ini>  writes the boundary values of each type
                                  with CheckWrite into a new file, then reads
                                  them back from a fresh object.
  runtime_types_demo again <ini>  stores the same values again (the caller
                                  checks that the file did not change) and
                                  reads them back.

  Both runs set the locale's decimal separator to ',' first: the file must
  still hold '.'.

  Compiled with -Mdelphi, string is AnsiString and holds UTF-8 bytes; with
  -Mdelphiunicode, string is UnicodeString and the runtime unit writes it as
  UTF-8 itself. Either way the file holds the same UTF-8 text. }
program runtime_types_demo;

{$IFDEF FPC}
  {$IFDEF UNICODE}
    {$MODE DELPHIUNICODE}
    {$CODEPAGE UTF8} { the literals below are UnicodeString, read as UTF-8 }
  {$ELSE}
    {$MODE DELPHI}
  {$ENDIF}
{$ENDIF}

uses
  {$IFDEF UNIX} cwstring, {$ENDIF}
  SysUtils, Math, Tamsel_common;

const
  S = 'types';
  Japanese = '日本語のテキスト'; { UTF-8 bytes, or UTF-16 in Delphi Unicode mode }
  JapaneseKey = '名前';

  ShortInts: array[0..2] of ShortInt = (Low(ShortInt), -1, High(ShortInt));
  SmallInts: array[0..1] of SmallInt = (Low(SmallInt), High(SmallInt));
  LongInts: array[0..2] of LongInt = (Low(LongInt), 0, High(LongInt));
  Int64s: array[0..2] of Int64 = (Low(Int64), -1, High(Int64));
  NativeInts: array[0..1] of NativeInt = (Low(NativeInt), High(NativeInt));
  Bytes: array[0..1] of Byte = (0, High(Byte));
  Words: array[0..1] of Word = (1, High(Word));
  LongWords: array[0..1] of LongWord = (0, High(LongWord));
  Cardinals: array[0..1] of Cardinal = (2147483648, High(Cardinal));
  UInt64s: array[0..2] of UInt64 = (0, 9223372036854775808, High(UInt64));
  NativeUInts: array[0..1] of NativeUInt = (0, High(NativeUInt));
  Integers: array[0..1] of Integer = (Low(Integer), High(Integer));

var
  Failures: Integer = 0;
  Singles: array[0..6] of Single;
  Doubles: array[0..6] of Double;
  Extendeds: array[0..4] of Extended;
  Reals: array[0..1] of Real;
  Currencies: array[0..3] of Currency;
  Strings: array[0..1] of string;
  Wides: array[0..1] of WideString;
  ShortStrings: array[0..2] of ShortString;

procedure Check(Ok: Boolean; const What: string);
begin
  if not Ok then
  begin
    WriteLn('FAILED: ', What);
    Inc(Failures);
  end;
end;

function Key(const Kind: string; I: Integer): string;
begin
  Result := Kind + string(IntToStr(I)); { IntToStr gives AnsiString in Free Pascal }
end;

function SameOrNaN(const A, B: Extended): Boolean;
begin
  Result := (IsNan(A) and IsNan(B)) or (not IsNan(A) and not IsNan(B) and (A = B));
end;

function CurrencyFromRaw(Raw: Int64): Currency;
begin
  Move(Raw, Result, SizeOf(Result));
end;

procedure InitValues;
var
  Third: Extended;
begin
  Third := 1;
  Third := Third / 3; { computed at run time, with every bit of Extended }
  Singles[0] := 0;       Singles[1] := -0.1;     Singles[2] := 1 / 3;
  Singles[3] := MaxSingle; Singles[4] := MinSingle; Singles[5] := NegInfinity;
  Singles[6] := NaN;
  Doubles[0] := -0.1;    Doubles[1] := 1 / 3;    Doubles[2] := -1.5e300;
  Doubles[3] := MaxDouble; Doubles[4] := MinDouble; Doubles[5] := 123456789.125;
  Doubles[6] := Infinity;
  Extendeds[0] := Third; Extendeds[1] := -Pi;    Extendeds[2] := MaxExtended;
  Extendeds[3] := MinExtended; Extendeds[4] := NaN;
  Reals[0] := 0.1;       Reals[1] := -2.5e-300;
  Currencies[0] := CurrencyFromRaw(Low(Int64));
  Currencies[1] := CurrencyFromRaw(High(Int64));
  Currencies[2] := -0.5;  Currencies[3] := 0.0001;
  Strings[0] := Japanese; Strings[1] := '';
  Wides[0] := {$IFDEF UNICODE} Japanese {$ELSE} UTF8Decode(Japanese) {$ENDIF}; Wides[1] := '';
  ShortStrings[0] := ShortString(Strings[0]); ShortStrings[1] := '';
  ShortStrings[2] := ShortString(StringOfChar('z', 255));
end;

procedure StoreAll(Ini: TIniFileMine);
var
  I: Integer;
begin
  for I := 0 to High(ShortInts) do Ini.CheckWriteShortInt(S, Key('ShortInt', I), ShortInts[I]);
  for I := 0 to High(SmallInts) do Ini.CheckWriteSmallInt(S, Key('SmallInt', I), SmallInts[I]);
  for I := 0 to High(LongInts) do Ini.CheckWriteLongInt(S, Key('LongInt', I), LongInts[I]);
  for I := 0 to High(Int64s) do Ini.CheckWriteInt64(S, Key('Int64', I), Int64s[I]);
  for I := 0 to High(NativeInts) do Ini.CheckWriteNativeInt(S, Key('NativeInt', I), NativeInts[I]);
  for I := 0 to High(Bytes) do Ini.CheckWriteByte(S, Key('Byte', I), Bytes[I]);
  for I := 0 to High(Words) do Ini.CheckWriteWord(S, Key('Word', I), Words[I]);
  for I := 0 to High(LongWords) do Ini.CheckWriteLongWord(S, Key('LongWord', I), LongWords[I]);
  for I := 0 to High(Cardinals) do Ini.CheckWriteCardinal(S, Key('Cardinal', I), Cardinals[I]);
  for I := 0 to High(UInt64s) do Ini.CheckWriteUInt64(S, Key('UInt64', I), UInt64s[I]);
  for I := 0 to High(NativeUInts) do Ini.CheckWriteNativeUInt(S, Key('NativeUInt', I), NativeUInts[I]);
  for I := 0 to High(Integers) do Ini.CheckWriteInteger(S, Key('Integer', I), Integers[I]);
  for I := 0 to High(Singles) do Ini.CheckWriteSingle(S, Key('Single', I), Singles[I]);
  for I := 0 to High(Doubles) do Ini.CheckWriteDouble(S, Key('Double', I), Doubles[I]);
  for I := 0 to High(Extendeds) do Ini.CheckWriteExtended(S, Key('Extended', I), Extendeds[I]);
  for I := 0 to High(Reals) do Ini.CheckWriteReal(S, Key('Real', I), Reals[I]);
  for I := 0 to High(Currencies) do Ini.CheckWriteCurrency(S, Key('Currency', I), Currencies[I]);
  for I := 0 to High(Strings) do
  begin
    Ini.CheckWriteString(S, Key('String', I), Strings[I]);
    Ini.CheckWriteAnsiString(S, Key('Ansi', I), AnsiString(Strings[I]));
    Ini.CheckWriteWideString(S, Key('Wide', I), Wides[I]);
    Ini.CheckWriteUnicodeString(S, Key('Unicode', I), UnicodeString(Wides[I]));
  end;
  for I := 0 to High(ShortStrings) do Ini.CheckWriteShortString(S, Key('Short', I), ShortStrings[I]);
  Ini.CheckWriteString(S, JapaneseKey, Japanese);
  Ini.CheckWriteBoolean(S, 'True', True);
  Ini.CheckWriteBoolean(S, 'False', False);
  Ini.CheckWriteBoolean(S, 'Two', True); { holds "2", which already reads as True }
end;

{ Each value is read with a default that differs from it, so a missing or
  unreadable key fails. }
procedure CheckAll(Ini: TIniFileMine);
var
  I: Integer;
begin
  for I := 0 to High(ShortInts) do
    Check(Ini.ReadShortInt(S, Key('ShortInt', I), ShortInt(ShortInts[I] xor 1)) = ShortInts[I], Key('ShortInt', I));
  for I := 0 to High(SmallInts) do
    Check(Ini.ReadSmallInt(S, Key('SmallInt', I), SmallInt(SmallInts[I] xor 1)) = SmallInts[I], Key('SmallInt', I));
  for I := 0 to High(LongInts) do
    Check(Ini.ReadLongInt(S, Key('LongInt', I), LongInts[I] xor 1) = LongInts[I], Key('LongInt', I));
  for I := 0 to High(Int64s) do
    Check(Ini.ReadInt64(S, Key('Int64', I), Int64s[I] xor 1) = Int64s[I], Key('Int64', I));
  for I := 0 to High(NativeInts) do
    Check(Ini.ReadNativeInt(S, Key('NativeInt', I), NativeInts[I] xor 1) = NativeInts[I], Key('NativeInt', I));
  for I := 0 to High(Bytes) do
    Check(Ini.ReadByte(S, Key('Byte', I), Bytes[I] xor 1) = Bytes[I], Key('Byte', I));
  for I := 0 to High(Words) do
    Check(Ini.ReadWord(S, Key('Word', I), Words[I] xor 1) = Words[I], Key('Word', I));
  for I := 0 to High(LongWords) do
    Check(Ini.ReadLongWord(S, Key('LongWord', I), LongWords[I] xor 1) = LongWords[I], Key('LongWord', I));
  for I := 0 to High(Cardinals) do
    Check(Ini.ReadCardinal(S, Key('Cardinal', I), Cardinals[I] xor 1) = Cardinals[I], Key('Cardinal', I));
  for I := 0 to High(UInt64s) do
    Check(Ini.ReadUInt64(S, Key('UInt64', I), UInt64s[I] xor 1) = UInt64s[I], Key('UInt64', I));
  for I := 0 to High(NativeUInts) do
    Check(Ini.ReadNativeUInt(S, Key('NativeUInt', I), NativeUInts[I] xor 1) = NativeUInts[I], Key('NativeUInt', I));
  for I := 0 to High(Integers) do
    Check(Ini.ReadInteger(S, Key('Integer', I), Integers[I] xor 1) = Integers[I], Key('Integer', I));
  for I := 0 to High(Singles) do
    Check(SameOrNaN(Ini.ReadSingle(S, Key('Single', I), 42), Singles[I]), Key('Single', I));
  for I := 0 to High(Doubles) do
    Check(SameOrNaN(Ini.ReadDouble(S, Key('Double', I), 42), Doubles[I]), Key('Double', I));
  for I := 0 to High(Extendeds) do
    Check(SameOrNaN(Ini.ReadExtended(S, Key('Extended', I), 42), Extendeds[I]), Key('Extended', I));
  for I := 0 to High(Reals) do
    Check(Ini.ReadReal(S, Key('Real', I), 42) = Reals[I], Key('Real', I));
  for I := 0 to High(Currencies) do
    Check(Ini.ReadCurrency(S, Key('Currency', I), 42) = Currencies[I], Key('Currency', I));
  for I := 0 to High(Strings) do
  begin
    Check(Ini.ReadString(S, Key('String', I), '?') = Strings[I], Key('String', I));
    Check(Ini.ReadAnsiString(S, Key('Ansi', I), '?') = AnsiString(Strings[I]), Key('Ansi', I));
    Check(Ini.ReadWideString(S, Key('Wide', I), '?') = Wides[I], Key('Wide', I));
    Check(Ini.ReadUnicodeString(S, Key('Unicode', I), '?') = UnicodeString(Wides[I]), Key('Unicode', I));
  end;
  for I := 0 to High(ShortStrings) do
    Check(Ini.ReadShortString(S, Key('Short', I), '?') = ShortStrings[I], Key('Short', I));
  Check(Ini.ReadBoolean(S, 'True', False), 'True');
  Check(not Ini.ReadBoolean(S, 'False', True), 'False');

  { Stored text: the shortest exact form, '.' as the separator, UTF-8. }
  Check(Ini.ReadString(S, 'Double0', '') = '-0.1', 'text of -0.1: ' + Ini.ReadString(S, 'Double0', ''));
  Check(Ini.ReadString(S, 'Currency2', '') = '-0.5000', 'text of currency -0.5');
  Check(Ini.ReadString(S, 'Currency0', '') = '-922337203685477.5808', 'text of the lowest currency');
  Check(Ini.ReadString(S, 'UInt640', '') = '0', 'text of UInt64 0');
  Check(Ini.ReadString(S, 'UInt642', '') = '18446744073709551615', 'text of High(UInt64)');
  Check(Ini.ReadString(S, 'Wide0', '') = Japanese, 'UTF-8 text of a WideString');
  Check(Length(Ini.ReadWideString(S, 'Wide0', '')) = 8, 'a WideString holds UTF-16 characters');

  { Integers read as booleans; values that are no number of the type, or
    outside its range, give the default. }
  Check(Ini.ReadBoolean(S, 'Two', False), 'a stored 2 reads as True');
  Check(Ini.ReadBoolean(S, 'MinusOne', False), 'a stored -1 reads as True');
  Check(not Ini.ReadBoolean(S, 'Zero', True), 'a stored 0 reads as False');
  Check(Ini.ReadBoolean(S, 'Abc', True) and not Ini.ReadBoolean(S, 'Abc', False), '"abc" reads as the default');
  Check(Ini.ReadByte(S, 'Big', 7) = 7, '256 is no Byte');
  Check(Ini.ReadShortInt(S, 'TooLow', 7) = 7, '-129 is no ShortInt');
  Check(Ini.ReadCardinal(S, 'MinusOne', 7) = 7, '-1 is no Cardinal');
  Check(Ini.ReadUInt64(S, 'Huge', 7) = 7, '2^64 is no UInt64');
  Check(Ini.ReadInt64(S, 'Int64Over', 7) = 7, '2^63 is no Int64');
  Check(Ini.ReadUInt64(S, 'Hex', 7) = 255, '$FF is a UInt64');
  Check(Ini.ReadDouble(S, 'Abc', 7) = 7, '"abc" is no Double');
  Check(Ini.ReadDouble(S, 'Comma', 7) = 7, '"1,5" is no Double');
  Check(Ini.ReadSingle(S, 'SingleOver', 7) = 7, '1e39 is no Single');
  Check(Ini.ReadCurrency(S, 'Comma', 7) = 7, '"1,5" is no Currency');
  Check(Ini.ReadCurrency(S, 'Hand', 7) = 12.3457, 'a currency with five decimals is rounded');
  Check(Ini.ReadString(S, JapaneseKey, '?') = Japanese, 'a key in Japanese');

end;

var
  Ini: TIniFileMine;
  FileName: string;
begin
  if (ParamCount <> 2) or ((ParamStr(1) <> 'first') and (ParamStr(1) <> 'again')) then
  begin
    WriteLn('usage: runtime_types_demo first|again <ini file>');
    Halt(2);
  end;
  FileName := ParamStr(2);
  FormatSettings.DecimalSeparator := ',';
  FormatSettings.ThousandSeparator := '.';
  InitValues;
  Ini := TIniFileMine.Create(FileName);
  if ParamStr(1) = 'first' then
  begin
    Ini.WriteString(S, 'Two', '2');
    Ini.WriteString(S, 'MinusOne', '-1');
    Ini.WriteString(S, 'Zero', '0');
    Ini.WriteString(S, 'Abc', 'abc');
    Ini.WriteString(S, 'Big', '256');
    Ini.WriteString(S, 'TooLow', '-129');
    Ini.WriteString(S, 'Huge', '18446744073709551616');
    Ini.WriteString(S, 'Int64Over', '9223372036854775808');
    Ini.WriteString(S, 'Hex', '$FF');
    Ini.WriteString(S, 'Comma', '1,5');
    Ini.WriteString(S, 'SingleOver', '1e39');
    Ini.WriteString(S, 'Hand', '12.34567');
  end;
  StoreAll(Ini);
  Ini.Free;
  Ini := TIniFileMine.Create(FileName);
  CheckAll(Ini);
  Ini.Free;
  if Failures > 0 then
    Halt(1);
  WriteLn('ok');
end.

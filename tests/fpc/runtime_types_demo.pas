{ Round trip of every field type through TIniFileMine.

  runtime_types_demo first <ini>  writes the boundary values of each type
                                  with CheckWrite into a new file, then reads
                                  them back from a fresh object.
  runtime_types_demo again <ini>  stores the same values again (the caller
                                  checks that the file did not change) and
                                  reads them back.

  Both runs set the locale's decimal separator to ',' and its date and time
  formats to others first: the file must still hold '.' and ISO 8601 dates.

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
  DateTimes: array[0..5] of TDateTime;
  Dates: array[0..4] of TDate;
  Times: array[0..4] of TTime;
  { What each is stored as, and what it reads back as. }
  DateTimeTexts: array[0..5] of string;
  Days: array[0..4] of string;
  Clocks: array[0..4] of string;
  DateTimesBack: array[0..5] of TDateTime;
  DatesBack: array[0..4] of TDate;
  TimesBack: array[0..4] of TTime;

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

{ Dates and times, each with the text it is stored as and the value that
  text reads back as. }
procedure InitDates;
var
  Dec7: TDateTime;
  I: Integer;
begin
  Dec7 := EncodeDate(2026, 12, 7);
  DateTimes[0] := Dec7 + EncodeTime(15, 14, 0, 0);    DateTimeTexts[0] := '2026-12-07T15:14:00';
  DateTimes[1] := Dec7 + EncodeTime(15, 14, 0, 250);  DateTimeTexts[1] := '2026-12-07T15:14:00.250';
  DateTimes[2] := EncodeDate(1, 1, 1);                DateTimeTexts[2] := '0001-01-01T00:00:00';
  DateTimes[3] := EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999);
  DateTimeTexts[3] := '9999-12-31T23:59:59.999';
  { Before 1899-12-30 the value is negative and the time counts forwards. }
  DateTimes[4] := EncodeDate(1800, 1, 2) - EncodeTime(6, 30, 0, 0);
  DateTimeTexts[4] := '1800-01-02T06:30:00';
  DateTimes[5] := 1e7;                                DateTimeTexts[5] := '10000000';
  for I := 0 to High(DateTimes) do
    DateTimesBack[I] := DateTimes[I];

  Dates[0] := Dec7;                       Days[0] := '2026-12-07';
  Dates[1] := Dec7 + 0.75;                Days[1] := '2026-12-07'; { the time is not kept }
  Dates[2] := EncodeDate(1, 1, 1);        Days[2] := '0001-01-01';
  Dates[3] := EncodeDate(9999, 12, 31);   Days[3] := '9999-12-31';
  Dates[4] := -1e6;                       Days[4] := '-1000000';   { before the year 1 }
  for I := 0 to High(Dates) do
    DatesBack[I] := Dates[I];
  DatesBack[1] := Dec7;

  Times[0] := EncodeTime(15, 14, 0, 0);       Clocks[0] := '15:14:00';
  Times[1] := EncodeTime(23, 59, 59, 999);    Clocks[1] := '23:59:59.999';
  Times[2] := 0;                              Clocks[2] := '00:00:00';
  Times[3] := Dec7 + EncodeTime(8, 5, 3, 0);  Clocks[3] := '08:05:03';  { the date is not kept }
  Times[4] := DateTimes[4];                   Clocks[4] := '06:30:00';
  for I := 0 to High(Times) do
    TimesBack[I] := Times[I];
  TimesBack[3] := EncodeTime(8, 5, 3, 0);
  TimesBack[4] := EncodeTime(6, 30, 0, 0);
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
  InitDates;
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
  for I := 0 to High(DateTimes) do Ini.CheckWriteTDateTime(S, Key('DateTime', I), DateTimes[I]);
  for I := 0 to High(Dates) do Ini.CheckWriteTDate(S, Key('Date', I), Dates[I]);
  for I := 0 to High(Times) do Ini.CheckWriteTTime(S, Key('Time', I), Times[I]);
  { Stored texts compare as text: 0.4 ms more is the same text and does not
    rewrite it; 0.4 ms before midnight rounds up to the next day; a
    hand-written form of the same value is rewritten in full. }
  Ini.CheckWriteTDateTime(S, 'DateTime0', DateTimes[0] + 0.4 / MSecsPerDay);
  Ini.CheckWriteTDateTime(S, 'NextDay', EncodeDate(2026, 12, 7) + (MSecsPerDay - 0.4) / MSecsPerDay);
  Ini.CheckWriteTDateTime(S, 'Edited', DateTimes[0]);
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

  { Dates and times: their text, then their value read with a default that
    differs from it. }
  for I := 0 to High(DateTimes) do
  begin
    Check(Ini.ReadString(S, Key('DateTime', I), '') = DateTimeTexts[I],
      'text of ' + Key('DateTime', I) + ': ' + Ini.ReadString(S, Key('DateTime', I), ''));
    Check(Ini.ReadTDateTime(S, Key('DateTime', I), 42) = DateTimesBack[I], Key('DateTime', I));
  end;
  for I := 0 to High(Dates) do
  begin
    Check(Ini.ReadString(S, Key('Date', I), '') = Days[I],
      'text of ' + Key('Date', I) + ': ' + Ini.ReadString(S, Key('Date', I), ''));
    Check(Ini.ReadTDate(S, Key('Date', I), 42) = DatesBack[I], Key('Date', I));
  end;
  for I := 0 to High(Times) do
  begin
    Check(Ini.ReadString(S, Key('Time', I), '') = Clocks[I],
      'text of ' + Key('Time', I) + ': ' + Ini.ReadString(S, Key('Time', I), ''));
    Check(Ini.ReadTTime(S, Key('Time', I), 42) = TimesBack[I], Key('Time', I));
  end;
  Check(Ini.ReadString(S, 'NextDay', '') = '2026-12-08T00:00:00', 'rounding up to midnight');
  Check(Ini.ReadString(S, 'Edited', '') = '2026-12-07T15:14:00', 'a hand-written date rewritten');

  { Other forms that read, and forms that read as the default. }
  Check(Ini.ReadTDateTime(S, 'DateAlone', 42) = EncodeDate(2026, 12, 7), 'a date alone as a TDateTime');
  Check(Ini.ReadTDateTime(S, 'Spaced', 42) = DateTimes[0], 'a space in place of the T');
  Check(Ini.ReadTDateTime(S, 'NoSeconds', 42) = DateTimes[0], 'a TDateTime without seconds');
  Check(Ini.ReadTTime(S, 'ShortTime', 42) = Times[0], 'a TTime without seconds');
  Check(Ini.ReadTTime(S, 'LongFraction', 42) = EncodeTime(15, 14, 0, 123), 'digits past the milliseconds');
  Check(Ini.ReadTDateTime(S, 'Number', 42) = 46363.5, 'a number as a TDateTime');
  Check(Ini.ReadTDate(S, 'Number', 42) = 46363.5, 'a number as a TDate');
  Check(Ini.ReadTTime(S, 'Number', 42) = 46363.5, 'a number as a TTime');
  Check(Ini.ReadTDateTime(S, 'Abc', 42) = 42, '"abc" is no TDateTime');
  Check(Ini.ReadTDate(S, 'Abc', 42) = 42, '"abc" is no TDate');
  Check(Ini.ReadTTime(S, 'Abc', 42) = 42, '"abc" is no TTime');
  Check(Ini.ReadTDateTime(S, 'Comma', 42) = 42, '"1,5" is no TDateTime');
  Check(Ini.ReadTDateTime(S, 'Feb30', 42) = 42, '2026-02-30 is no date');
  Check(Ini.ReadTDate(S, 'Year0', 42) = 42, 'there is no year 0');
  Check(Ini.ReadTTime(S, 'Hour24', 42) = 42, '24:00:00 is no TTime');
  Check(Ini.ReadTDateTime(S, 'Zoned', 42) = 42, 'a time zone is refused');
  Check(Ini.ReadTDateTime(S, 'Localised', 42) = 42, 'a date in the locale''s format is refused');
  Check(Ini.ReadTDate(S, 'DateTime0', 42) = 42, 'a TDate is a date alone');
  Check(Ini.ReadTTime(S, 'Date0', 42) = 42, 'a date is no TTime');
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
  FormatSettings.DateSeparator := '/';
  FormatSettings.TimeSeparator := '.';
  FormatSettings.ShortDateFormat := 'dd/mm/yyyy';
  FormatSettings.LongTimeFormat := 'hh.nn.ss';
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
    Ini.WriteString(S, 'Edited', '2026-12-07T15:14');
    Ini.WriteString(S, 'DateAlone', '2026-12-07');
    Ini.WriteString(S, 'Spaced', '2026-12-07 15:14:00');
    Ini.WriteString(S, 'NoSeconds', '2026-12-07T15:14');
    Ini.WriteString(S, 'ShortTime', '15:14');
    Ini.WriteString(S, 'LongFraction', '15:14:00.1239');
    Ini.WriteString(S, 'Number', '46363.5');
    Ini.WriteString(S, 'Feb30', '2026-02-30');
    Ini.WriteString(S, 'Year0', '0000-01-01');
    Ini.WriteString(S, 'Hour24', '24:00:00');
    Ini.WriteString(S, 'Zoned', '2026-12-07T15:14:00Z');
    Ini.WriteString(S, 'Localised', '07/12/2026 15.14.00');
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

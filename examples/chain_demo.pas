{ Uses the unit that Tamsel generates from chain.txt: a chain of classes in
  which fields are redefined, and a class derived from the INI-controller.

  chain_demo first <ini>  checks the initial values, stores changed ones and
                          loads them into a new object.
  chain_demo again <ini>  checks the stored values and changes nothing. }
program chain_demo;

{$IFDEF FPC}
  { Delphi Unicode mode when the command line asks for it (-Mdelphiunicode
    defines UNICODE), so that string is the generated unit's string. }
  {$IFDEF UNICODE}
    {$MODE DELPHIUNICODE}
  {$ELSE}
    {$MODE DELPHI}
  {$ENDIF}
{$ENDIF}

uses
  SysUtils, chain;

procedure Check(Ok: Boolean; const What: string);
begin
  if not Ok then
  begin
    WriteLn('FAILED: ', What);
    Halt(1);
  end;
end;

var
  E: TEditor;
begin
  Check(ParamCount = 2, 'usage: chain_demo first|again <expected ini file>');
  E := TEditor.Create;
  Check(E.GetFileName = ParamStr(2), 'INI file name ' + E.GetFileName);
  Check(E.GetSection = 'chain_demo', 'INI section ' + E.GetSection);
  if ParamStr(1) = 'first' then
  begin
    { TMiddle.Name first copies TBase's value; then loading, with no INI
      file yet, reads the key Name twice (once for each class that defines
      it), and the last read gives TMiddle's own initial value. }
    Check(TBase(E).GetSelfName = 'base', 'initial TBase.Name');
    Check(TMiddle(E).GetSelfName = 'middle', 'initial TMiddle.Name');
    Check(E.GetName = 'middle', 'virtual getter reaches the redefined field');
    Check(TBase(E).GetSelfCount = 1, 'initial TBase.Count');
    Check(E.GetCount = 1, 'TEditor.Count copies the inherited value');
    Check(E.GetEnabled = True, 'initial Enabled');
    Check(E.GetReadOnly = False, 'initial ReadOnly');
    E.SetName('中間');
    TBase(E).SetSelfCount(42);
    E.SetEnabled(False);
    E.SetReadOnly(True);
    E.Free;
    E := TEditor.Create;
  end;
  { The stored values: TBase.Count, TMiddle.Name and Enabled. }
  Check(TMiddle(E).GetSelfName = '中間', 'stored Name');
  Check(TBase(E).GetSelfCount = 42, 'stored Count');
  Check(E.GetCount = 42, 'TEditor.Count takes the loaded value');
  Check(E.GetEnabled = False, 'stored Enabled');
  Check(E.GetReadOnly = False, 'ReadOnly is not stored');
  E.Free;
  WriteLn('ok');
end.

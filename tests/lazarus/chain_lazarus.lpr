{ A console program of a Lazarus project left in the default ObjFPC mode that
  uses the unit Tamsel generates from examples/chain.txt. The project requires
  the package tamsel_runtime, which compiles chain.pas in Delphi mode.

  chain_lazarus first  checks the initial values, changes them, frees the
                       controller (which stores them) and checks that a new
                       one loads them.
  chain_lazarus again  checks the values the first run stored. }
program chain_lazarus;

{$mode objfpc}{$H+}

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

procedure CheckStored(E: TEditor);
begin
  Check(TMiddle(E).GetSelfName = 'from Lazarus', 'stored Name');
  Check(TBase(E).GetSelfCount = 42, 'stored Count');
  Check(E.GetCount = 42, 'TEditor.Count takes the loaded value');
  Check(not E.GetEnabled, 'stored Enabled');
  Check(not E.GetReadOnly, 'ReadOnly is not stored');
end;

var
  E: TEditor;
begin
  Check(ParamCount = 1, 'usage: chain_lazarus first|again');
  E := TEditor.Create;
  try
    Check(E.GetFileName = ExpandFileName(ChangeFileExt(ParamStr(0), '.ini')),
          'INI file name ' + E.GetFileName);
    if ParamStr(1) = 'first' then
    begin
      Check(not FileExists(E.GetFileName), 'an INI file before the first run');
      Check(TMiddle(E).GetSelfName = 'middle', 'initial TMiddle.Name');
      Check(TBase(E).GetSelfName = 'base', 'initial TBase.Name');
      Check(E.GetCount = 1, 'initial Count');
      Check(E.GetEnabled, 'initial Enabled');
      E.SetName('from Lazarus');
      TBase(E).SetSelfCount(42);
      E.SetEnabled(False);
      E.SetReadOnly(True);
      FreeAndNil(E);
      Check(FileExists(ChangeFileExt(ParamStr(0), '.ini')), 'no INI file was written');
      E := TEditor.Create;
    end;
    CheckStored(E);
  finally
    E.Free;
  end;
  WriteLn('ok');
end.

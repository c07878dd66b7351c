{ Uses the unit that Tamsel generates from sample.txt.

  sample_demo first <ini>  starts without an INI file: checks the initial
                           values, changes the persisted values and stores
                           them by freeing the object, then checks that a new
                           object loads them back.
  sample_demo again <ini>  checks that the stored values are loaded, and
                           frees the object without changing anything. }
program sample_demo;

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
  SysUtils, sample;

procedure Check(Ok: Boolean; const What: string);
begin
  if not Ok then
  begin
    WriteLn('FAILED: ', What);
    Halt(1);
  end;
end;

procedure CheckStored(P: TParam);
begin
  { The fields of TOption are stored; TParam's own Fxxx is not. }
  Check(TOption(P).GetSelfxxx = 'ファイル名 ü', 'stored string');
  Check(P.Getyyy = -7, 'stored integer');
  Check(P.Getzzz = False, 'stored boolean');
end;

var
  P: TParam;
begin
  Check(ParamCount = 2, 'usage: sample_demo first|again <expected ini file>');
  P := TParam.Create;
  Check(P.GetFileName = ParamStr(2), 'INI file name ' + P.GetFileName);
  Check(P.GetSection = 'sample_demo', 'INI section ' + P.GetSection);
  if ParamStr(1) = 'first' then
  begin
    Check(TOption(P).GetSelfxxx = '123', 'initial string');
    Check(P.Getxxx = '123', 'redefined field takes the inherited value');
    Check(P.Getyyy = 456, 'initial integer');
    Check(P.Getzzz = True, 'initial boolean');
    TOption(P).SetSelfxxx('ファイル名 ü');
    P.Setyyy(-7);
    P.Setzzz(False);
    P.Free;
    P := TParam.Create;
  end;
  CheckStored(P);
  P.Free;
  WriteLn('ok');
end.

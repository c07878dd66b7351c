{ Uses the unit that Tamsel generates from inictrl.txt: an INI-controller
  class with fields of its own, which are not stored.

  inictrl_demo first <ini>  checks the initial values, stores changed ones
                            and loads them into a new object.
  inictrl_demo again <ini>  checks the stored values and changes nothing. }
program inictrl_demo;

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
  SysUtils, inictrl;

procedure Check(Ok: Boolean; const What: string);
begin
  if not Ok then
  begin
    WriteLn('FAILED: ', What);
    Halt(1);
  end;
end;

procedure CheckStored(S: TIniter);
begin
  Check(S.GetHost = 'db.example.jp', 'stored Host');
  Check(S.GetPort = 6543, 'stored Port');
  Check(S.GetUseTls = True, 'stored UseTls');
  { The controller's own fields are initialised, never loaded. }
  Check(S.GetRetries = 3, 'Retries is not stored');
  Check(S.GetLogFile = '', 'LogFile is not stored');
end;

var
  S: TIniter;
begin
  Check(ParamCount = 2, 'usage: inictrl_demo first|again <expected ini file>');
  S := TIniter.Create;
  Check(S.GetFileName = ParamStr(2), 'INI file name ' + S.GetFileName);
  Check(S.GetSection = 'inictrl_demo', 'INI section ' + S.GetSection);
  if ParamStr(1) = 'first' then
  begin
    Check(S.GetHost = 'localhost', 'initial Host');
    Check(S.GetPort = 5432, 'initial Port');
    Check(S.GetUseTls = False, 'initial UseTls');
    Check(S.GetRetries = 3, 'initial Retries');
    TDbSettings(S).SetAllSelf('db.example.jp', 6543, True);
    S.SetRetries(9);
    S.SetLogFile('trace.log');
    S.Free;
    S := TIniter.Create;
  end;
  CheckStored(S);
  S.Free;
  WriteLn('ok');
end.

{ Uses the unit that Tamsel generates from appoptions.txt: an application's
  options with its window position, recent folder and flags.

  appoptions_demo first <ini>  checks the initial values, changes them and
                               stores them, then loads them into a new object.
  appoptions_demo again <ini>  checks the stored values and changes nothing. }
program appoptions_demo;

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
  SysUtils, appoptions;

procedure Check(Ok: Boolean; const What: string);
begin
  if not Ok then
  begin
    WriteLn('FAILED: ', What);
    Halt(1);
  end;
end;

procedure CheckStored(O: TIniter);
begin
  Check(O.GetLeft = 10, 'stored Left');
  Check(O.GetTop = -20, 'stored Top');
  Check(O.GetWidth = 1024, 'stored Width');
  Check(O.GetHeight = 768, 'stored Height');
  Check(O.GetRecentFolder = 'D:\プロジェクト\新規', 'stored RecentFolder');
  Check(O.GetTitle = '売上集計', 'stored Title');
  Check(O.GetShowToolbar = False, 'stored ShowToolbar');
  Check(O.GetConfirmExit = True, 'stored ConfirmExit');
end;

var
  O: TIniter;
begin
  Check(ParamCount = 2, 'usage: appoptions_demo first|again <expected ini file>');
  O := TIniter.Create;
  Check(O.GetFileName = ParamStr(2), 'INI file name ' + O.GetFileName);
  Check(O.GetSection = 'appoptions_demo', 'INI section ' + O.GetSection);
  if ParamStr(1) = 'first' then
  begin
    Check(O.GetLeft = 100, 'initial Left');
    Check(O.GetTop = 80, 'initial Top');
    Check(O.GetWidth = 640, 'initial Width');
    Check(O.GetHeight = 480, 'initial Height');
    Check(O.GetRecentFolder = 'C:\Users\Public\Documents', 'initial RecentFolder');
    Check(O.GetTitle = '無題', 'initial Title');
    Check(O.GetShowToolbar = True, 'initial ShowToolbar');
    Check(O.GetConfirmExit = False, 'initial ConfirmExit');
    O.SetAllSelf('', '');  { the INI file name and section of this class }
    Check(O.GetFileName = '', 'SetAllSelf sets the own fields');
    O.SetFileName(ParamStr(2));
    O.SetSection('appoptions_demo');
    O.SetLeft(10);
    O.SetTop(-20);
    TWindowPos(O).SetAllSelf(10, -20, 1024, 768);
    O.SetRecentFolder('D:\プロジェクト\新規');
    O.SetTitle('売上集計');
    O.SetShowToolbar(False);
    O.SetConfirmExit(True);
    O.Free;
    O := TIniter.Create;
  end;
  CheckStored(O);
  O.Free;
  WriteLn('ok');
end.

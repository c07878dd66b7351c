unit appoptions;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TWindowPos = class
    private
      FLeft:integer;
      FTop:integer;
      FWidth:integer;
      FHeight:integer;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(Left:integer;Top:integer;Width:integer;Height:integer);
      procedure SetSelfLeft(Left:integer);
      procedure SetLeft(Left:integer);virtual;
      function GetSelfLeft:integer;
      function GetLeft:integer;virtual;
      procedure SetSelfTop(Top:integer);
      procedure SetTop(Top:integer);virtual;
      function GetSelfTop:integer;
      function GetTop:integer;virtual;
      procedure SetSelfWidth(Width:integer);
      procedure SetWidth(Width:integer);virtual;
      function GetSelfWidth:integer;
      function GetWidth:integer;virtual;
      procedure SetSelfHeight(Height:integer);
      procedure SetHeight(Height:integer);virtual;
      function GetSelfHeight:integer;
      function GetHeight:integer;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TAppOptions = class(TWindowPos)
    private
      FRecentFolder:string;
      FTitle:string;
      FShowToolbar:boolean;
      FConfirmExit:boolean;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(RecentFolder:string;Title:string;ShowToolbar:boolean;ConfirmExit:boolean);
      procedure SetSelfRecentFolder(RecentFolder:string);
      procedure SetRecentFolder(RecentFolder:string);virtual;
      function GetSelfRecentFolder:string;
      function GetRecentFolder:string;virtual;
      procedure SetSelfTitle(Title:string);
      procedure SetTitle(Title:string);virtual;
      function GetSelfTitle:string;
      function GetTitle:string;virtual;
      procedure SetSelfShowToolbar(ShowToolbar:boolean);
      procedure SetShowToolbar(ShowToolbar:boolean);virtual;
      function GetSelfShowToolbar:boolean;
      function GetShowToolbar:boolean;virtual;
      procedure SetSelfConfirmExit(ConfirmExit:boolean);
      procedure SetConfirmExit(ConfirmExit:boolean);virtual;
      function GetSelfConfirmExit:boolean;
      function GetConfirmExit:boolean;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TIniter = class(TAppOptions)
    private
      FFileName:string;
      FSection:string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(FileName:string;Section:string);
      procedure SetSelfFileName(FileName:string);
      procedure SetFileName(FileName:string);virtual;
      function GetSelfFileName:string;
      function GetFileName:string;virtual;
      procedure SetSelfSection(Section:string);
      procedure SetSection(Section:string);virtual;
      function GetSelfSection:string;
      function GetSection:string;virtual;

      constructor Create;
      destructor Destroy;override;

      procedure iniRead(Section,FileName:string);overload;
      procedure iniRead(Section:string);overload;
      procedure iniRead;overload;
      procedure iniWrite(Section,FileName:string);overload;
      procedure iniWrite(Section:string);overload;
      procedure iniWrite;overload;
  end;
var
  OWindowPos:TWindowPos;
  OAppOptions:TAppOptions;
  OIniter:TIniter;

implementation

procedure TWindowPos.InitialSelf;
begin
  FLeft := 100;
  FTop := 80;
  FWidth := 640;
  FHeight := 480;
end;
procedure TWindowPos.InitialSuper;
begin
end;
procedure TWindowPos.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TWindowPos.SetAllSelf(Left:integer;Top:integer;Width:integer;Height:integer);
begin
  SetSelfLeft(Left);
  SetSelfTop(Top);
  SetSelfWidth(Width);
  SetSelfHeight(Height);
end;
procedure TWindowPos.SetSelfLeft(Left:integer);
begin
  FLeft := Left;
end;
procedure TWindowPos.SetLeft(Left:integer);
begin
  SetSelfLeft(Left);
end;
function TWindowPos.GetSelfLeft:integer;
begin
  Result := FLeft;
end;
function TWindowPos.GetLeft:integer;
begin
  Result := GetSelfLeft;
end;
procedure TWindowPos.SetSelfTop(Top:integer);
begin
  FTop := Top;
end;
procedure TWindowPos.SetTop(Top:integer);
begin
  SetSelfTop(Top);
end;
function TWindowPos.GetSelfTop:integer;
begin
  Result := FTop;
end;
function TWindowPos.GetTop:integer;
begin
  Result := GetSelfTop;
end;
procedure TWindowPos.SetSelfWidth(Width:integer);
begin
  FWidth := Width;
end;
procedure TWindowPos.SetWidth(Width:integer);
begin
  SetSelfWidth(Width);
end;
function TWindowPos.GetSelfWidth:integer;
begin
  Result := FWidth;
end;
function TWindowPos.GetWidth:integer;
begin
  Result := GetSelfWidth;
end;
procedure TWindowPos.SetSelfHeight(Height:integer);
begin
  FHeight := Height;
end;
procedure TWindowPos.SetHeight(Height:integer);
begin
  SetSelfHeight(Height);
end;
function TWindowPos.GetSelfHeight:integer;
begin
  Result := FHeight;
end;
function TWindowPos.GetHeight:integer;
begin
  Result := GetSelfHeight;
end;

constructor TWindowPos.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TWindowPos.Destroy;
begin
  Inherited Destroy;
end;

procedure TAppOptions.InitialSelf;
begin
  FRecentFolder := 'C:\Users\Public\Documents';
  FTitle := '無題';
  FShowToolbar := True;
  FConfirmExit := False;
end;
procedure TAppOptions.InitialSuper;
begin
end;
procedure TAppOptions.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TAppOptions.SetAllSelf(RecentFolder:string;Title:string;ShowToolbar:boolean;ConfirmExit:boolean);
begin
  SetSelfRecentFolder(RecentFolder);
  SetSelfTitle(Title);
  SetSelfShowToolbar(ShowToolbar);
  SetSelfConfirmExit(ConfirmExit);
end;
procedure TAppOptions.SetSelfRecentFolder(RecentFolder:string);
begin
  FRecentFolder := RecentFolder;
end;
procedure TAppOptions.SetRecentFolder(RecentFolder:string);
begin
  SetSelfRecentFolder(RecentFolder);
end;
function TAppOptions.GetSelfRecentFolder:string;
begin
  Result := FRecentFolder;
end;
function TAppOptions.GetRecentFolder:string;
begin
  Result := GetSelfRecentFolder;
end;
procedure TAppOptions.SetSelfTitle(Title:string);
begin
  FTitle := Title;
end;
procedure TAppOptions.SetTitle(Title:string);
begin
  SetSelfTitle(Title);
end;
function TAppOptions.GetSelfTitle:string;
begin
  Result := FTitle;
end;
function TAppOptions.GetTitle:string;
begin
  Result := GetSelfTitle;
end;
procedure TAppOptions.SetSelfShowToolbar(ShowToolbar:boolean);
begin
  FShowToolbar := ShowToolbar;
end;
procedure TAppOptions.SetShowToolbar(ShowToolbar:boolean);
begin
  SetSelfShowToolbar(ShowToolbar);
end;
function TAppOptions.GetSelfShowToolbar:boolean;
begin
  Result := FShowToolbar;
end;
function TAppOptions.GetShowToolbar:boolean;
begin
  Result := GetSelfShowToolbar;
end;
procedure TAppOptions.SetSelfConfirmExit(ConfirmExit:boolean);
begin
  FConfirmExit := ConfirmExit;
end;
procedure TAppOptions.SetConfirmExit(ConfirmExit:boolean);
begin
  SetSelfConfirmExit(ConfirmExit);
end;
function TAppOptions.GetSelfConfirmExit:boolean;
begin
  Result := FConfirmExit;
end;
function TAppOptions.GetConfirmExit:boolean;
begin
  Result := GetSelfConfirmExit;
end;

constructor TAppOptions.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
end;
destructor TAppOptions.Destroy;
begin
  Inherited Destroy;
end;

procedure TIniter.InitialSelf;
begin
  FFileName := ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'));
  FSection := ChangeFileExt(ExtractFileName(ParamStr(0)),'');
end;
procedure TIniter.InitialSuper;
begin
end;
procedure TIniter.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TIniter.SetAllSelf(FileName:string;Section:string);
begin
  SetSelfFileName(FileName);
  SetSelfSection(Section);
end;
procedure TIniter.SetSelfFileName(FileName:string);
begin
  FFileName := FileName;
end;
procedure TIniter.SetFileName(FileName:string);
begin
  SetSelfFileName(FileName);
end;
function TIniter.GetSelfFileName:string;
begin
  Result := FFileName;
end;
function TIniter.GetFileName:string;
begin
  Result := GetSelfFileName;
end;
procedure TIniter.SetSelfSection(Section:string);
begin
  FSection := Section;
end;
procedure TIniter.SetSection(Section:string);
begin
  SetSelfSection(Section);
end;
function TIniter.GetSelfSection:string;
begin
  Result := FSection;
end;
function TIniter.GetSection:string;
begin
  Result := GetSelfSection;
end;

constructor TIniter.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
  iniRead;
end;
destructor TIniter.Destroy;
begin
  Inherited Destroy;
  iniWrite;
end;

procedure TIniter.iniRead(Section,FileName:string);
begin
  FFileName := FileName;
  FSection := Section;
  iniRead;
end;
procedure TIniter.iniRead(Section:string);
begin
  FSection := Section;
  iniRead;
end;
procedure TIniter.iniWrite(Section,FileName:string);
begin
  FFileName := FileName;
  FSection := Section;
  iniWrite;
end;
procedure TIniter.iniWrite(Section:string);
begin
  FSection := Section;
  iniWrite;
end;
procedure TIniter.iniRead;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  Inherited SetSelfLeft(IniFile.Readinteger(FSection,'Left',100));
  Inherited SetSelfTop(IniFile.Readinteger(FSection,'Top',80));
  Inherited SetSelfWidth(IniFile.Readinteger(FSection,'Width',640));
  Inherited SetSelfHeight(IniFile.Readinteger(FSection,'Height',480));
  Inherited SetSelfRecentFolder(IniFile.Readstring(FSection,'RecentFolder','C:\Users\Public\Documents'));
  Inherited SetSelfTitle(IniFile.Readstring(FSection,'Title','無題'));
  Inherited SetSelfShowToolbar(IniFile.Readboolean(FSection,'ShowToolbar',True));
  Inherited SetSelfConfirmExit(IniFile.Readboolean(FSection,'ConfirmExit',False));

  IniFile.Free;
end;
procedure TIniter.iniWrite;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  IniFile.CheckWriteinteger(FSection,'Left',FLeft);
  IniFile.CheckWriteinteger(FSection,'Top',FTop);
  IniFile.CheckWriteinteger(FSection,'Width',FWidth);
  IniFile.CheckWriteinteger(FSection,'Height',FHeight);
  IniFile.CheckWritestring(FSection,'RecentFolder',FRecentFolder);
  IniFile.CheckWritestring(FSection,'Title',FTitle);
  IniFile.CheckWriteboolean(FSection,'ShowToolbar',FShowToolbar);
  IniFile.CheckWriteboolean(FSection,'ConfirmExit',FConfirmExit);

  IniFile.Free;
end;
end.

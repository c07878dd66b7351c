unit initer;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TIniter = class
    private
      Fa:boolean;
      Fs:string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(a:boolean;s:string);
      procedure SetSelfa(a:boolean);
      procedure Seta(a:boolean);virtual;
      function GetSelfa:boolean;
      function Geta:boolean;virtual;
      procedure SetSelfs(s:string);
      procedure Sets(s:string);virtual;
      function GetSelfs:string;
      function Gets:string;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TSettings = class(TIniter)
    private
      FIniName:string;
      FPart:string;
      FPort:integer;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(IniName:string;Part:string;Port:integer);
      procedure SetSelfIniName(IniName:string);
      procedure SetIniName(IniName:string);virtual;
      function GetSelfIniName:string;
      function GetIniName:string;virtual;
      procedure SetSelfPart(Part:string);
      procedure SetPart(Part:string);virtual;
      function GetSelfPart:string;
      function GetPart:string;virtual;
      procedure SetSelfPort(Port:integer);
      procedure SetPort(Port:integer);virtual;
      function GetSelfPort:integer;
      function GetPort:integer;virtual;

      constructor Create;
      destructor Destroy;override;

      procedure Load(Part,IniName:string);overload;
      procedure Load(Part:string);overload;
      procedure Load;overload;
      procedure Save(Part,IniName:string);overload;
      procedure Save(Part:string);overload;
      procedure Save;overload;
  end;
  TLater = class
    private
      FIniName:string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(IniName:string);
      procedure SetSelfIniName(IniName:string);
      procedure SetIniName(IniName:string);virtual;
      function GetSelfIniName:string;
      function GetIniName:string;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
var
  OIniter:TIniter;
  OSettings:TSettings;
  OLater:TLater;

implementation

procedure TIniter.InitialSelf;
begin
  Fa := True;
  Fs := '';
end;
procedure TIniter.InitialSuper;
begin
end;
procedure TIniter.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TIniter.SetAllSelf(a:boolean;s:string);
begin
  SetSelfa(a);
  SetSelfs(s);
end;
procedure TIniter.SetSelfa(a:boolean);
begin
  Fa := a;
end;
procedure TIniter.Seta(a:boolean);
begin
  SetSelfa(a);
end;
function TIniter.GetSelfa:boolean;
begin
  Result := Fa;
end;
function TIniter.Geta:boolean;
begin
  Result := GetSelfa;
end;
procedure TIniter.SetSelfs(s:string);
begin
  Fs := s;
end;
procedure TIniter.Sets(s:string);
begin
  SetSelfs(s);
end;
function TIniter.GetSelfs:string;
begin
  Result := Fs;
end;
function TIniter.Gets:string;
begin
  Result := GetSelfs;
end;

constructor TIniter.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TIniter.Destroy;
begin
  Inherited Destroy;
end;

procedure TSettings.InitialSelf;
begin
  FIniName := ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'));
  FPart := ChangeFileExt(ExtractFileName(ParamStr(0)),'');
  FPort := 80;
end;
procedure TSettings.InitialSuper;
begin
end;
procedure TSettings.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TSettings.SetAllSelf(IniName:string;Part:string;Port:integer);
begin
  SetSelfIniName(IniName);
  SetSelfPart(Part);
  SetSelfPort(Port);
end;
procedure TSettings.SetSelfIniName(IniName:string);
begin
  FIniName := IniName;
end;
procedure TSettings.SetIniName(IniName:string);
begin
  SetSelfIniName(IniName);
end;
function TSettings.GetSelfIniName:string;
begin
  Result := FIniName;
end;
function TSettings.GetIniName:string;
begin
  Result := GetSelfIniName;
end;
procedure TSettings.SetSelfPart(Part:string);
begin
  FPart := Part;
end;
procedure TSettings.SetPart(Part:string);
begin
  SetSelfPart(Part);
end;
function TSettings.GetSelfPart:string;
begin
  Result := FPart;
end;
function TSettings.GetPart:string;
begin
  Result := GetSelfPart;
end;
procedure TSettings.SetSelfPort(Port:integer);
begin
  FPort := Port;
end;
procedure TSettings.SetPort(Port:integer);
begin
  SetSelfPort(Port);
end;
function TSettings.GetSelfPort:integer;
begin
  Result := FPort;
end;
function TSettings.GetPort:integer;
begin
  Result := GetSelfPort;
end;

constructor TSettings.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
  Load;
end;
destructor TSettings.Destroy;
begin
  Inherited Destroy;
  Save;
end;

procedure TSettings.Load(Part,IniName:string);
begin
  FIniName := IniName;
  FPart := Part;
  Load;
end;
procedure TSettings.Load(Part:string);
begin
  FPart := Part;
  Load;
end;
procedure TSettings.Save(Part,IniName:string);
begin
  FIniName := IniName;
  FPart := Part;
  Save;
end;
procedure TSettings.Save(Part:string);
begin
  FPart := Part;
  Save;
end;

procedure TLater.InitialSelf;
begin
  FIniName := ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'));
end;
procedure TLater.InitialSuper;
begin
end;
procedure TLater.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TLater.SetAllSelf(IniName:string);
begin
  SetSelfIniName(IniName);
end;
procedure TLater.SetSelfIniName(IniName:string);
begin
  FIniName := IniName;
end;
procedure TLater.SetIniName(IniName:string);
begin
  SetSelfIniName(IniName);
end;
function TLater.GetSelfIniName:string;
begin
  Result := FIniName;
end;
function TLater.GetIniName:string;
begin
  Result := GetSelfIniName;
end;

constructor TLater.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TLater.Destroy;
begin
  Inherited Destroy;
end;
procedure TSettings.Load;
var
  IniFile:TMyIni;
begin
  IniFile := TMyIni.Create(FIniName);

  Inherited SetSelfa(IniFile.Readboolean(FPart,'a',True));
  Inherited SetSelfs(IniFile.Readstring(FPart,'s',''));

  IniFile.Free;
end;
procedure TSettings.Save;
var
  IniFile:TMyIni;
begin
  IniFile := TMyIni.Create(FIniName);

  IniFile.Writeboolean(FPart,'a',Fa);
  IniFile.Writestring(FPart,'s',Fs);

  IniFile.Free;
end;
end.

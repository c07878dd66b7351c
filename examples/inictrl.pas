unit inictrl;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TDbSettings = class
    private
      FHost:string;
      FPort:integer;
      FUseTls:boolean;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(Host:string;Port:integer;UseTls:boolean);
      procedure SetSelfHost(Host:string);
      procedure SetHost(Host:string);virtual;
      function GetSelfHost:string;
      function GetHost:string;virtual;
      procedure SetSelfPort(Port:integer);
      procedure SetPort(Port:integer);virtual;
      function GetSelfPort:integer;
      function GetPort:integer;virtual;
      procedure SetSelfUseTls(UseTls:boolean);
      procedure SetUseTls(UseTls:boolean);virtual;
      function GetSelfUseTls:boolean;
      function GetUseTls:boolean;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TIniter = class(TDbSettings)
    private
      FFileName:string;
      FSection:string;
      FRetries:integer;
      FLogFile:string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(FileName:string;Section:string;Retries:integer;LogFile:string);
      procedure SetSelfFileName(FileName:string);
      procedure SetFileName(FileName:string);virtual;
      function GetSelfFileName:string;
      function GetFileName:string;virtual;
      procedure SetSelfSection(Section:string);
      procedure SetSection(Section:string);virtual;
      function GetSelfSection:string;
      function GetSection:string;virtual;
      procedure SetSelfRetries(Retries:integer);
      procedure SetRetries(Retries:integer);virtual;
      function GetSelfRetries:integer;
      function GetRetries:integer;virtual;
      procedure SetSelfLogFile(LogFile:string);
      procedure SetLogFile(LogFile:string);virtual;
      function GetSelfLogFile:string;
      function GetLogFile:string;virtual;

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
  ODbSettings:TDbSettings;
  OIniter:TIniter;

implementation

procedure TDbSettings.InitialSelf;
begin
  FHost := 'localhost';
  FPort := 5432;
  FUseTls := False;
end;
procedure TDbSettings.InitialSuper;
begin
end;
procedure TDbSettings.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TDbSettings.SetAllSelf(Host:string;Port:integer;UseTls:boolean);
begin
  SetSelfHost(Host);
  SetSelfPort(Port);
  SetSelfUseTls(UseTls);
end;
procedure TDbSettings.SetSelfHost(Host:string);
begin
  FHost := Host;
end;
procedure TDbSettings.SetHost(Host:string);
begin
  SetSelfHost(Host);
end;
function TDbSettings.GetSelfHost:string;
begin
  Result := FHost;
end;
function TDbSettings.GetHost:string;
begin
  Result := GetSelfHost;
end;
procedure TDbSettings.SetSelfPort(Port:integer);
begin
  FPort := Port;
end;
procedure TDbSettings.SetPort(Port:integer);
begin
  SetSelfPort(Port);
end;
function TDbSettings.GetSelfPort:integer;
begin
  Result := FPort;
end;
function TDbSettings.GetPort:integer;
begin
  Result := GetSelfPort;
end;
procedure TDbSettings.SetSelfUseTls(UseTls:boolean);
begin
  FUseTls := UseTls;
end;
procedure TDbSettings.SetUseTls(UseTls:boolean);
begin
  SetSelfUseTls(UseTls);
end;
function TDbSettings.GetSelfUseTls:boolean;
begin
  Result := FUseTls;
end;
function TDbSettings.GetUseTls:boolean;
begin
  Result := GetSelfUseTls;
end;

constructor TDbSettings.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TDbSettings.Destroy;
begin
  Inherited Destroy;
end;

procedure TIniter.InitialSelf;
begin
  FFileName := ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'));
  FSection := ChangeFileExt(ExtractFileName(ParamStr(0)),'');
  FRetries := 3;
  FLogFile := '';
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
procedure TIniter.SetAllSelf(FileName:string;Section:string;Retries:integer;LogFile:string);
begin
  SetSelfFileName(FileName);
  SetSelfSection(Section);
  SetSelfRetries(Retries);
  SetSelfLogFile(LogFile);
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
procedure TIniter.SetSelfRetries(Retries:integer);
begin
  FRetries := Retries;
end;
procedure TIniter.SetRetries(Retries:integer);
begin
  SetSelfRetries(Retries);
end;
function TIniter.GetSelfRetries:integer;
begin
  Result := FRetries;
end;
function TIniter.GetRetries:integer;
begin
  Result := GetSelfRetries;
end;
procedure TIniter.SetSelfLogFile(LogFile:string);
begin
  FLogFile := LogFile;
end;
procedure TIniter.SetLogFile(LogFile:string);
begin
  SetSelfLogFile(LogFile);
end;
function TIniter.GetSelfLogFile:string;
begin
  Result := FLogFile;
end;
function TIniter.GetLogFile:string;
begin
  Result := GetSelfLogFile;
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

  Inherited SetSelfHost(IniFile.Readstring(FSection,'Host','localhost'));
  Inherited SetSelfPort(IniFile.Readinteger(FSection,'Port',5432));
  Inherited SetSelfUseTls(IniFile.Readboolean(FSection,'UseTls',False));

  IniFile.Free;
end;
procedure TIniter.iniWrite;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  IniFile.CheckWritestring(FSection,'Host',FHost);
  IniFile.CheckWriteinteger(FSection,'Port',FPort);
  IniFile.CheckWriteboolean(FSection,'UseTls',FUseTls);

  IniFile.Free;
end;
end.

unit chain;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TBase = class
    private
      FName:string;
      FCount:integer;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(Name:string;Count:integer);
      procedure SetSelfName(Name:string);
      procedure SetName(Name:string);virtual;
      function GetSelfName:string;
      function GetName:string;virtual;
      procedure SetSelfCount(Count:integer);
      procedure SetCount(Count:integer);virtual;
      function GetSelfCount:integer;
      function GetCount:integer;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TMiddle = class(TBase)
    private
      FName:string;
      FEnabled:boolean;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(Name:string;Enabled:boolean);
      procedure SetSelfName(Name:string);
      procedure SetName(Name:string);override;
      function GetSelfName:string;
      function GetName:string;override;
      procedure SetSelfEnabled(Enabled:boolean);
      procedure SetEnabled(Enabled:boolean);virtual;
      function GetSelfEnabled:boolean;
      function GetEnabled:boolean;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TIniter = class(TMiddle)
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
  TEditor = class(TIniter)
    private
      FCount:integer;
      FReadOnly:boolean;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(Count:integer;ReadOnly:boolean);
      procedure SetSelfCount(Count:integer);
      procedure SetCount(Count:integer);override;
      function GetSelfCount:integer;
      function GetCount:integer;override;
      procedure SetSelfReadOnly(ReadOnly:boolean);
      procedure SetReadOnly(ReadOnly:boolean);virtual;
      function GetSelfReadOnly:boolean;
      function GetReadOnly:boolean;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
var
  OBase:TBase;
  OMiddle:TMiddle;
  OIniter:TIniter;
  OEditor:TEditor;

implementation

procedure TBase.InitialSelf;
begin
  FName := 'base';
  FCount := 1;
end;
procedure TBase.InitialSuper;
begin
end;
procedure TBase.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TBase.SetAllSelf(Name:string;Count:integer);
begin
  SetSelfName(Name);
  SetSelfCount(Count);
end;
procedure TBase.SetSelfName(Name:string);
begin
  FName := Name;
end;
procedure TBase.SetName(Name:string);
begin
  SetSelfName(Name);
end;
function TBase.GetSelfName:string;
begin
  Result := FName;
end;
function TBase.GetName:string;
begin
  Result := GetSelfName;
end;
procedure TBase.SetSelfCount(Count:integer);
begin
  FCount := Count;
end;
procedure TBase.SetCount(Count:integer);
begin
  SetSelfCount(Count);
end;
function TBase.GetSelfCount:integer;
begin
  Result := FCount;
end;
function TBase.GetCount:integer;
begin
  Result := GetSelfCount;
end;

constructor TBase.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TBase.Destroy;
begin
  Inherited Destroy;
end;

procedure TMiddle.InitialSelf;
begin
  FName := 'middle';
  FEnabled := True;
end;
procedure TMiddle.InitialSuper;
begin
  FName := Inherited GetName;
end;
procedure TMiddle.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TMiddle.SetAllSelf(Name:string;Enabled:boolean);
begin
  SetSelfName(Name);
  SetSelfEnabled(Enabled);
end;
procedure TMiddle.SetSelfName(Name:string);
begin
  FName := Name;
end;
procedure TMiddle.SetName(Name:string);
begin
  SetSelfName(Name);
end;
function TMiddle.GetSelfName:string;
begin
  Result := FName;
end;
function TMiddle.GetName:string;
begin
  Result := GetSelfName;
end;
procedure TMiddle.SetSelfEnabled(Enabled:boolean);
begin
  FEnabled := Enabled;
end;
procedure TMiddle.SetEnabled(Enabled:boolean);
begin
  SetSelfEnabled(Enabled);
end;
function TMiddle.GetSelfEnabled:boolean;
begin
  Result := FEnabled;
end;
function TMiddle.GetEnabled:boolean;
begin
  Result := GetSelfEnabled;
end;

constructor TMiddle.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
end;
destructor TMiddle.Destroy;
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

procedure TEditor.InitialSelf;
begin
  FCount := 7;
  FReadOnly := False;
end;
procedure TEditor.InitialSuper;
begin
  FCount := Inherited GetCount;
end;
procedure TEditor.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TEditor.SetAllSelf(Count:integer;ReadOnly:boolean);
begin
  SetSelfCount(Count);
  SetSelfReadOnly(ReadOnly);
end;
procedure TEditor.SetSelfCount(Count:integer);
begin
  FCount := Count;
end;
procedure TEditor.SetCount(Count:integer);
begin
  SetSelfCount(Count);
end;
function TEditor.GetSelfCount:integer;
begin
  Result := FCount;
end;
function TEditor.GetCount:integer;
begin
  Result := GetSelfCount;
end;
procedure TEditor.SetSelfReadOnly(ReadOnly:boolean);
begin
  FReadOnly := ReadOnly;
end;
procedure TEditor.SetReadOnly(ReadOnly:boolean);
begin
  SetSelfReadOnly(ReadOnly);
end;
function TEditor.GetSelfReadOnly:boolean;
begin
  Result := FReadOnly;
end;
function TEditor.GetReadOnly:boolean;
begin
  Result := GetSelfReadOnly;
end;

constructor TEditor.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
end;
destructor TEditor.Destroy;
begin
  Inherited Destroy;
end;
procedure TIniter.iniRead;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  Inherited SetSelfName(IniFile.Readstring(FSection,'Name','base'));
  Inherited SetSelfCount(IniFile.Readinteger(FSection,'Count',1));
  Inherited SetSelfName(IniFile.Readstring(FSection,'Name','middle'));
  Inherited SetSelfEnabled(IniFile.Readboolean(FSection,'Enabled',True));

  IniFile.Free;
end;
procedure TIniter.iniWrite;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  IniFile.CheckWritestring(FSection,'Name',FName);
  IniFile.CheckWriteinteger(FSection,'Count',FCount);
  IniFile.CheckWritestring(FSection,'Name',FName);
  IniFile.CheckWriteboolean(FSection,'Enabled',FEnabled);

  IniFile.Free;
end;
end.

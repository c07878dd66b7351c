unit ini_first;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TIniter = class
    private
      FFileName:string;
      FSection:string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
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
  TA = class
    private
      Fv:array of string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(v:array of string);
      procedure SetSelfv(v:array of string);
      procedure Setv(v:array of string);virtual;
      function GetSelfv:array of string;
      function Getv:array of string;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TB = class(TExternal)
    private
      Fv:integer;
      F:integer;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(v:integer;:integer);
      procedure SetSelfv(v:integer);
      procedure Setv(v:integer);virtual;
      function GetSelfv:integer;
      function Getv:integer;virtual;
      procedure SetSelf(:integer);
      procedure Set(:integer);virtual;
      function GetSelf:integer;
      function Get:integer;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
var
  OIniter:TIniter;
  OA:TA;
  OB:TB;

implementation

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

procedure TA.InitialSelf;
begin
  Fv := 'x';
end;
procedure TA.InitialSuper;
begin
end;
procedure TA.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TA.SetAllSelf(v:array of string);
begin
  SetSelfv(v);
end;
procedure TA.SetSelfv(v:array of string);
begin
  Fv := v;
end;
procedure TA.Setv(v:array of string);
begin
  SetSelfv(v);
end;
function TA.GetSelfv:array of string;
begin
  Result := Fv;
end;
function TA.Getv:array of string;
begin
  Result := GetSelfv;
end;

constructor TA.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TA.Destroy;
begin
  Inherited Destroy;
end;

procedure TB.InitialSelf;
begin
  Fv := ;
  F := 7;
end;
procedure TB.InitialSuper;
begin
end;
procedure TB.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TB.SetAllSelf(v:integer;:integer);
begin
  SetSelfv(v);
  SetSelf();
end;
procedure TB.SetSelfv(v:integer);
begin
  Fv := v;
end;
procedure TB.Setv(v:integer);
begin
  SetSelfv(v);
end;
function TB.GetSelfv:integer;
begin
  Result := Fv;
end;
function TB.Getv:integer;
begin
  Result := GetSelfv;
end;
procedure TB.SetSelf(:integer);
begin
  F := ;
end;
procedure TB.Set(:integer);
begin
  SetSelf();
end;
function TB.GetSelf:integer;
begin
  Result := F;
end;
function TB.Get:integer;
begin
  Result := GetSelf;
end;

constructor TB.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
end;
destructor TB.Destroy;
begin
  Inherited Destroy;
end;
procedure TIniter.iniRead;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);


  IniFile.Free;
end;
procedure TIniter.iniWrite;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);


  IniFile.Free;
end;
end.

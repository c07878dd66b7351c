unit sample;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TOption = class
    private
      Fxxx:string;
      Fyyy:integer;
      Fzzz:boolean;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;virtual;
      procedure SetAllSelf(xxx:string;yyy:integer;zzz:boolean);
      procedure SetSelfxxx(xxx:string);
      procedure Setxxx(xxx:string);virtual;
      function GetSelfxxx:string;
      function Getxxx:string;virtual;
      procedure SetSelfyyy(yyy:integer);
      procedure Setyyy(yyy:integer);virtual;
      function GetSelfyyy:integer;
      function Getyyy:integer;virtual;
      procedure SetSelfzzz(zzz:boolean);
      procedure Setzzz(zzz:boolean);virtual;
      function GetSelfzzz:boolean;
      function Getzzz:boolean;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TIniter = class(TOption)
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
  TParam = class(TIniter)
    private
      Fxxx:string;
    protected
    published
    public
      procedure InitialSelf;
      procedure InitialSuper;
      procedure Initial;override;
      procedure SetAllSelf(xxx:string);
      procedure SetSelfxxx(xxx:string);
      procedure Setxxx(xxx:string);override;
      function GetSelfxxx:string;
      function Getxxx:string;override;

      constructor Create;
      destructor Destroy;override;
  end;
var
  OOption:TOption;
  OIniter:TIniter;
  OParam:TParam;

implementation

procedure TOption.InitialSelf;
begin
  Fxxx := '123';
  Fyyy := 456;
  Fzzz := True;
end;
procedure TOption.InitialSuper;
begin
end;
procedure TOption.Initial;
begin
  InitialSelf;
  InitialSuper;
end;
procedure TOption.SetAllSelf(xxx:string;yyy:integer;zzz:boolean);
begin
  SetSelfxxx(xxx);
  SetSelfyyy(yyy);
  SetSelfzzz(zzz);
end;
procedure TOption.SetSelfxxx(xxx:string);
begin
  Fxxx := xxx;
end;
procedure TOption.Setxxx(xxx:string);
begin
  SetSelfxxx(xxx);
end;
function TOption.GetSelfxxx:string;
begin
  Result := Fxxx;
end;
function TOption.Getxxx:string;
begin
  Result := GetSelfxxx;
end;
procedure TOption.SetSelfyyy(yyy:integer);
begin
  Fyyy := yyy;
end;
procedure TOption.Setyyy(yyy:integer);
begin
  SetSelfyyy(yyy);
end;
function TOption.GetSelfyyy:integer;
begin
  Result := Fyyy;
end;
function TOption.Getyyy:integer;
begin
  Result := GetSelfyyy;
end;
procedure TOption.SetSelfzzz(zzz:boolean);
begin
  Fzzz := zzz;
end;
procedure TOption.Setzzz(zzz:boolean);
begin
  SetSelfzzz(zzz);
end;
function TOption.GetSelfzzz:boolean;
begin
  Result := Fzzz;
end;
function TOption.Getzzz:boolean;
begin
  Result := GetSelfzzz;
end;

constructor TOption.Create;
begin
  InitialSelf;
  InitialSuper;
end;
destructor TOption.Destroy;
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

procedure TParam.InitialSelf;
begin
  Fxxx := '789';
end;
procedure TParam.InitialSuper;
begin
  Fxxx := Inherited Getxxx;
end;
procedure TParam.Initial;
begin
  Inherited Initial;
  InitialSelf;
  InitialSuper;
end;
procedure TParam.SetAllSelf(xxx:string);
begin
  SetSelfxxx(xxx);
end;
procedure TParam.SetSelfxxx(xxx:string);
begin
  Fxxx := xxx;
end;
procedure TParam.Setxxx(xxx:string);
begin
  SetSelfxxx(xxx);
end;
function TParam.GetSelfxxx:string;
begin
  Result := Fxxx;
end;
function TParam.Getxxx:string;
begin
  Result := GetSelfxxx;
end;

constructor TParam.Create;
begin
  Inherited Create;
  InitialSelf;
  InitialSuper;
end;
destructor TParam.Destroy;
begin
  Inherited Destroy;
end;
procedure TIniter.iniRead;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  Inherited SetSelfxxx(IniFile.Readstring(FSection,'xxx','123'));
  Inherited SetSelfyyy(IniFile.Readinteger(FSection,'yyy',456));
  Inherited SetSelfzzz(IniFile.Readboolean(FSection,'zzz',True));

  IniFile.Free;
end;
procedure TIniter.iniWrite;
var
  IniFile:TIniFileMine;
begin
  IniFile := TIniFileMine.Create(FFileName);

  IniFile.CheckWritestring(FSection,'xxx',Fxxx);
  IniFile.CheckWriteinteger(FSection,'yyy',Fyyy);
  IniFile.CheckWriteboolean(FSection,'zzz',Fzzz);

  IniFile.Free;
end;
end.

unit self_initial;
interface
uses
  SysUtils,
  Tamsel_common,
  IniFiles;
type
  TOption = class
    private
      Fxxx:string;
    protected
    published
    public
      procedure InitMe;
      procedure InitBase;
      procedure Init;virtual;
      procedure SetEveryMe(xxx:string);
      procedure SetMexxx(xxx:string);
      procedure Setxxx(xxx:string);virtual;
      function GetMexxx:string;
      function Getxxx:string;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
  TChild = class(TOption)
    private
      Fxxx:integer;
      Fflag:boolean;
    protected
    published
    public
      procedure InitMe;
      procedure InitBase;
      procedure Init;override;
      procedure SetEveryMe(xxx:integer;flag:boolean);
      procedure SetMexxx(xxx:integer);
      procedure Setxxx(xxx:integer);override;
      function GetMexxx:integer;
      function Getxxx:integer;override;
      procedure SetMeflag(flag:boolean);
      procedure Setflag(flag:boolean);virtual;
      function GetMeflag:boolean;
      function Getflag:boolean;virtual;

      constructor Create;
      destructor Destroy;override;
  end;
var
  OOption:TOption;
  OChild:TChild;

implementation

procedure TOption.InitMe;
begin
  Fxxx := '123';
end;
procedure TOption.InitBase;
begin
end;
procedure TOption.Init;
begin
  InitMe;
  InitBase;
end;
procedure TOption.SetEveryMe(xxx:string);
begin
  SetMexxx(xxx);
end;
procedure TOption.SetMexxx(xxx:string);
begin
  Fxxx := xxx;
end;
procedure TOption.Setxxx(xxx:string);
begin
  SetMexxx(xxx);
end;
function TOption.GetMexxx:string;
begin
  Result := Fxxx;
end;
function TOption.Getxxx:string;
begin
  Result := GetMexxx;
end;

constructor TOption.Create;
begin
  InitMe;
  InitBase;
end;
destructor TOption.Destroy;
begin
  Inherited Destroy;
end;

procedure TChild.InitMe;
begin
  Fxxx := 5;
  Fflag := False;
end;
procedure TChild.InitBase;
begin
  Fxxx := Inherited Getxxx;
end;
procedure TChild.Init;
begin
  Inherited Init;
  InitMe;
  InitBase;
end;
procedure TChild.SetEveryMe(xxx:integer;flag:boolean);
begin
  SetMexxx(xxx);
  SetMeflag(flag);
end;
procedure TChild.SetMexxx(xxx:integer);
begin
  Fxxx := xxx;
end;
procedure TChild.Setxxx(xxx:integer);
begin
  SetMexxx(xxx);
end;
function TChild.GetMexxx:integer;
begin
  Result := Fxxx;
end;
function TChild.Getxxx:integer;
begin
  Result := GetMexxx;
end;
procedure TChild.SetMeflag(flag:boolean);
begin
  Fflag := flag;
end;
procedure TChild.Setflag(flag:boolean);
begin
  SetMeflag(flag);
end;
function TChild.GetMeflag:boolean;
begin
  Result := Fflag;
end;
function TChild.Getflag:boolean;
begin
  Result := GetMeflag;
end;

constructor TChild.Create;
begin
  Inherited Create;
  InitMe;
  InitBase;
end;
destructor TChild.Destroy;
begin
  Inherited Destroy;
end;
end.

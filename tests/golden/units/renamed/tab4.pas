unit tab4;
interface
uses
    SysUtils,
    IniFiles;
type
    TBase = class
        private
        protected
        published
        public
    end;
    TItem = class(TBase)
        private
            Fn:Integer;
        protected
        published
        public
            procedure InitialSelf;
            procedure InitialSuper;
            procedure Initial;virtual;
            procedure SetAllSelf(n:Integer);
            procedure SetSelfn(n:Integer);
            procedure Setn(n:Integer);virtual;
            function GetSelfn:Integer;
            function Getn:Integer;virtual;

            constructor Create;
            destructor Destroy;override;
    end;
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
var
    OBase:TBase;
    OItem:TItem;
    OIniter:TIniter;

implementation

procedure TItem.InitialSelf;
begin
    Fn := 5;
end;
procedure TItem.InitialSuper;
begin
end;
procedure TItem.Initial;
begin
    InitialSelf;
    InitialSuper;
end;
procedure TItem.SetAllSelf(n:Integer);
begin
    SetSelfn(n);
end;
procedure TItem.SetSelfn(n:Integer);
begin
    Fn := n;
end;
procedure TItem.Setn(n:Integer);
begin
    SetSelfn(n);
end;
function TItem.GetSelfn:Integer;
begin
    Result := Fn;
end;
function TItem.Getn:Integer;
begin
    Result := GetSelfn;
end;

constructor TItem.Create;
begin
    Inherited Create;
    InitialSelf;
    InitialSuper;
end;
destructor TItem.Destroy;
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
procedure TIniter.iniRead;
var
    IniFile:TIniFileMine;
begin
    IniFile := TIniFileMine.Create(FFileName);

    Inherited SetSelfn(IniFile.ReadInteger(FSection,'n',5));

    IniFile.Free;
end;
procedure TIniter.iniWrite;
var
    IniFile:TIniFileMine;
begin
    IniFile := TIniFileMine.Create(FFileName);

    IniFile.CheckWriteInteger(FSection,'n',Fn);

    IniFile.Free;
end;
end.

{ TParser over a memory stream: every kind of token, positions and lines, component names, binary data, the
  errors with their locations, and the stream left after the parser. }
var m, bin: TMemoryStream; p: TParser; s: string; t: Char;
procedure Report(const what: string);
begin
  WriteLn(what + ' ' + IntToStr(Ord(ExceptionType)) + ' [' + ExceptionParam + ']');
end;
function Parse(const text: string): TParser;
begin
  m.Clear;
  s := text;
  m.Write(s, Length(s));
  m.Position := 0;
  Result := TParser.Create(m);
end;
begin
  m := TMemoryStream.Create;
  p := Parse('object Form1: TForm' + #13#10 + '  Left = -12' + #10 + '  Caption = ''It''''s'' + #65''b''' + #10 +
             '  Width = 3.5e2 $1F 12. 7d 1e+3c' + #10 + '  Tag = 7 Button1.Font.Size - {x}' + #10 + #10 + 'end');
  t := p.Token;
  while t <> toEOF do
  begin
    WriteLn(IntToStr(Ord(t)) + ' [' + p.TokenString + '] line ' + IntToStr(p.SourceLine) + ' pos ' + IntToStr(p.SourcePos));
    if t = toInteger then WriteLn('  int ' + IntToStr(p.TokenInt));
    if (t = toSymbol) and p.TokenSymbolIs('CAPTION') then WriteLn('  is caption');
    if (t = toSymbol) and p.TokenSymbolIs('button1') then WriteLn('  component ' + p.TokenComponentIdent);
    t := p.NextToken;
  end;
  try p.CheckToken(toSymbol); except Report('check'); end;
  try p.ErrorStr('custom problem'); except Report('custom'); end;
  p.Free;
  p := Parse('alpha beta');
  p.CheckTokenSymbol('ALPHA');
  try p.CheckTokenSymbol('gamma'); except Report('symbol'); end;
  WriteLn(IntToStr(Ord(p.NextToken)) + ' ' + p.TokenString);
  p.Free;
  WriteLn('stream left at ' + IntToStr(m.Position));
  p := Parse('{ 0A1bFF 0c'#10'  } next');
  bin := TMemoryStream.Create;
  p.HexToBinary(bin);
  WriteLn(IntToStr(bin.Size) + ' bytes, then ' + p.TokenString + ' on line ' + IntToStr(p.SourceLine));
  p.Free;
  try p := Parse('{0A1 }'); p.HexToBinary(bin); except Report('odd hex'); end;
  try p := Parse('''open'); except Report('unterminated'); end;
  try p := Parse('$'); except Report('hex'); end;
  try p := Parse('1e+x'); except Report('float'); end;
  try p := Parse('x'); p.NextToken; p.TokenComponentIdent; except Report('ident'); end;
  p := Parse('#300#66''c''');
  WriteLn(IntToStr(Ord(p.Token)) + ' ' + IntToStr(Length(p.TokenString)) + ' ' + IntToStr(Ord(p.TokenString[1])));
  m.Free;
end.

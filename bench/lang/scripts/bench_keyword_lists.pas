{ bench_keyword_lists: a trader's keyword filter.  Keyword lists live in
  TStringLists built once in Init; every headline is upper-cased and
  scanned for each keyword with Pos; counters are kept in globals. }
var
  Bulls, Bears, Names: TStringList;
  Longs, Shorts, Watched: Integer;

procedure Init;
begin
  Bulls := TStringList.Create;
  Bulls.CommaText := 'UPGRADE,"BEATS ESTIMATES","RAISES GUIDANCE",BUYBACK,"RECORD REVENUE","WINS CONTRACT"';
  Bears := TStringList.Create;
  Bears.CommaText := 'DOWNGRADE,"MISSES ESTIMATES","CUTS GUIDANCE",PROBE,"HALTS PRODUCTION"';
  Names := TStringList.Create;
  Names.CommaText := 'ACME,GLOBEX,STARK,WAYNE';
end;

function CountHits(const U: string; Words: TStringList): Integer;
var i: Integer;
begin
  Result := 0;
  for i := 0 to Words.Count - 1 do
    if Pos(Words[i], U) > 0 then Result := Result + 1;
end;

procedure Start(Headline, Source: string);
var
  U, Company: string;
  p, up, down: Integer;
begin
  U := UpperCase(Headline);
  p := Pos(' ', U);
  Company := Copy(U, 1, p - 1);
  if Names.IndexOf(Company) < 0 then Exit;
  Watched := Watched + 1;
  up := CountHits(U, Bulls);
  down := CountHits(U, Bears);
  if up > down then
  begin
    Longs := Longs + 1;
    if Pos('SHARES JUMP', U) > 0 then StrongBuy else Buy;
  end
  else if down > up then
  begin
    Shorts := Shorts + 1;
    if Pos('SHARES SLIDE', U) > 0 then StrongSell else Sell;
  end;
end;

procedure DeInit;
begin
  WriteLn('watched=' + IntToStr(Watched) + ' longs=' + IntToStr(Longs) + ' shorts=' + IntToStr(Shorts));
  Bulls.Free;
  Bears.Free;
  Names.Free;
end;

begin
end.

{ Records: fields of mixed types, nested records, arrays of records,
  records in records, value copy on assignment and on passing, with. }
type
  TPoint = record
    X, Y: Integer;
  end;
  TQuote = record
    Sym: string;
    Bid, Ask: Double;
    Pos: TPoint;
    Tags: array[0..1] of string;
  end;
var
  q, r: TQuote;
  list: array of TQuote;
  i: Integer;

function Spread(const x: TQuote): Double;
begin
  Result := x.Ask - x.Bid;
end;

procedure Move(var p: TPoint; dx, dy: Integer);
begin
  p.X := p.X + dx;
  p.Y := p.Y + dy;
end;

function MakePoint(x, y: Integer): TPoint;
begin
  Result.X := x;
  Result.Y := y;
end;

begin
  q.Sym := 'EURUSD';
  q.Bid := 1.25; q.Ask := 1.5;
  q.Pos.X := 1; q.Pos.Y := 2;
  q.Tags[0] := 'fx'; q.Tags[1] := 'major';
  r := q;
  r.Sym := 'GBPUSD';
  r.Pos.X := 100;
  r.Tags[1] := 'cable';
  WriteLn('copy keeps original: ' + q.Sym + ' ' + IntToStr(q.Pos.X) + ' ' + q.Tags[1] + ' / ' + r.Sym + ' ' + IntToStr(r.Pos.X) + ' ' + r.Tags[1]);
  WriteLn('spread=' + FloatToStr(Spread(q)));
  Move(q.Pos, 10, 20);
  WriteLn('moved=' + IntToStr(q.Pos.X) + ',' + IntToStr(q.Pos.Y));
  q.Pos := MakePoint(7, 8);
  WriteLn('record result=' + IntToStr(q.Pos.X) + ',' + IntToStr(q.Pos.Y));
  with q do
  begin
    Sym := Sym + '.m';
    Bid := Bid * 2;
  end;
  with q.Pos do X := X + Y;
  WriteLn('with=' + q.Sym + ' ' + FloatToStr(q.Bid) + ' ' + IntToStr(q.Pos.X));
  SetArrayLength(list, 3);
  for i := 0 to 2 do
  begin
    list[i].Sym := 'S' + IntToStr(i);
    list[i].Pos.Y := i * i;
  end;
  list[1] := q;
  WriteLn('array of records=' + list[0].Sym + ' ' + list[1].Sym + ' ' + list[2].Sym + ' y2=' + IntToStr(list[2].Pos.Y));
end.

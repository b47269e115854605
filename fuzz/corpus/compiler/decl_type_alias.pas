{ Type aliases of simple types, of records and of arrays behave like the
  type they name; assignment between alias and original is allowed. }
type
  TPrice = Double;
  TCount = Integer;
  TName = string;
  TList3 = array[1..3] of TCount;
  TWords = array of TName;
  TPair = record
    Name: TName;
    Count: TCount;
  end;
  TPairAlias = TPair;

var
  p: TPrice;
  d: Double;
  c: TCount;
  n: TName;
  l: TList3;
  w: TWords;
  a: TPair;
  b: TPairAlias;

begin
  p := 1.25; d := p * 2; c := 4; n := 'x';
  l[1] := c; l[2] := c + 1; l[3] := l[1] * l[2];
  SetArrayLength(w, 2); w[0] := n; w[1] := n + n;
  a.Name := 'alpha'; a.Count := 2;
  b := a;
  b.Count := b.Count + 1;
  WriteLn('price ' + FloatToStr(d) + ' count ' + IntToStr(c) + ' name ' + n);
  WriteLn('static ' + IntToStr(l[3]) + ' dynamic ' + w[0] + w[1]);
  WriteLn('record copy ' + b.Name + IntToStr(b.Count) + ' original ' + IntToStr(a.Count));
end.

{ Dynamic arrays: SetLength / SetArrayLength, Length / GetArrayLength,
  High, growing keeps the contents and zero-fills, shrinking drops the tail,
  assignment shares the array (b := a; b[0] := .. changes a[0] too), array
  of array, array parameters. }
type
  TInts = array of Integer;
var
  a, b: TInts;
  m: array of array of string;
  i: Integer;

function SumOf(x: TInts): Integer;
var k: Integer;
begin
  Result := 0;
  for k := 0 to GetArrayLength(x) - 1 do Result := Result + x[k];
end;

procedure Push(var x: TInts; v: Integer);
begin
  SetArrayLength(x, GetArrayLength(x) + 1);
  x[High(x)] := v;
end;

begin
  SetLength(a, 3);
  for i := 0 to 2 do a[i] := i + 1;
  SetLength(a, 5);
  WriteLn('grown len=' + IntToStr(Length(a)) + ' a[2]=' + IntToStr(a[2]) + ' a[4]=' + IntToStr(a[4]) + ' high=' + IntToStr(High(a)));
  SetArrayLength(a, 2);
  WriteLn('shrunk len=' + IntToStr(GetArrayLength(a)) + ' sum=' + IntToStr(SumOf(a)));
  Push(a, 10); Push(a, 20);
  WriteLn('pushed len=' + IntToStr(Length(a)) + ' sum=' + IntToStr(SumOf(a)));
  b := a;
  b[0] := 99;
  WriteLn('after b := a; b[0] := 99: a[0]=' + IntToStr(a[0]) + ' b[0]=' + IntToStr(b[0]));
  SetLength(m, 2);
  SetLength(m[0], 1);
  SetLength(m[1], 3);
  m[0][0] := 'x';
  m[1][2] := 'y';
  WriteLn('jagged lens=' + IntToStr(Length(m[0])) + ',' + IntToStr(Length(m[1])) + ' ' + m[0][0] + m[1][2] + '[' + m[1][0] + ']');
  SetLength(a, 0);
  WriteLn('empty len=' + IntToStr(Length(a)) + ' high=' + IntToStr(High(a)) + ' sum=' + IntToStr(SumOf(a)));
end.

{ Forward declarations, mutual recursion, deep recursion and recursion that
  builds strings. }
function IsOdd(n: Integer): Boolean; forward;

function IsEven(n: Integer): Boolean;
begin
  if n = 0 then Result := True else Result := IsOdd(n - 1);
end;

function IsOdd(n: Integer): Boolean;
begin
  if n = 0 then Result := False else Result := IsEven(n - 1);
end;

{ The left operand sets the arithmetic type: n * Fact(..) is a 32-bit
  product that wraps, Fact(..) * n is a 64-bit one. }
function Fact32(n: Integer): Int64;
begin
  if n <= 1 then Result := 1 else Result := n * Fact32(n - 1);
end;

function Fact(n: Integer): Int64;
begin
  if n <= 1 then Result := 1 else Result := Fact(n - 1) * n;
end;

function Ackermann(m, n: Integer): Integer;
begin
  if m = 0 then Result := n + 1
  else if n = 0 then Result := Ackermann(m - 1, 1)
  else Result := Ackermann(m - 1, Ackermann(m, n - 1));
end;

function Reverse(const s: string): string;
begin
  if Length(s) <= 1 then Result := s
  else Result := Reverse(Copy(s, 2, Length(s) - 1)) + s[1];
end;

function Depth(n: Integer): Integer;
begin
  if n = 0 then Result := 0 else Result := 1 + Depth(n - 1);
end;

begin
  if IsEven(10) and IsOdd(7) and not IsEven(3) then WriteLn('mutual recursion ok');
  WriteLn('fact 20=' + IntToStr(Fact(20)) + ' with 32-bit product=' + IntToStr(Fact32(20)));
  WriteLn('ackermann(2,3)=' + IntToStr(Ackermann(2, 3)));
  WriteLn('reverse=' + Reverse('headline'));
  WriteLn('depth=' + IntToStr(Depth(60)));
end.

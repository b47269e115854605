{ var parameters alias the caller's variable: plain variables, array
  elements, record fields; value parameters are copies. }
type
  TBox = record
    V: Integer;
    S: string;
  end;
var
  a, b: Integer;
  s: string;
  arr: array[0..2] of Integer;
  box: TBox;
  dyn: array of string;

procedure Swap(var x, y: Integer);
var t: Integer;
begin
  t := x; x := y; y := t;
end;

procedure Append(var dst: string; const what: string);
begin
  dst := dst + what;
end;

procedure DoubleIt(var n: Integer);
begin
  n := n * 2;
end;

procedure ByValue(n: Integer; s2: string; r: TBox);
begin
  n := 0; s2 := 'changed'; r.V := -1;
end;

procedure FillBox(var r: TBox);
begin
  r.V := 42; r.S := 'filled';
end;

begin
  a := 1; b := 2;
  Swap(a, b);
  WriteLn('swap ' + IntToStr(a) + ' ' + IntToStr(b));
  s := 'x';
  Append(s, 'y'); Append(s, 'z');
  WriteLn('append ' + s);
  arr[1] := 5;
  DoubleIt(arr[1]);
  WriteLn('element ' + IntToStr(arr[1]));
  box.V := 3;
  DoubleIt(box.V);
  WriteLn('field ' + IntToStr(box.V));
  ByValue(a, s, box);
  WriteLn('by value kept ' + IntToStr(a) + ' ' + s + ' ' + IntToStr(box.V));
  FillBox(box);
  WriteLn('record var ' + IntToStr(box.V) + ' ' + box.S);
  SetArrayLength(dyn, 1);
  Append(dyn[0], 'dyn');
  WriteLn('dynamic element ' + dyn[0]);
end.

{ Static and dynamic array indexes out of range raise "Out Of Range";
  inside try..except the handler catches it. }
var
  a: array[1..3] of Integer;
  d: array of string;
  i: Integer;
begin
  SetLength(d, 2);
  i := -1;
  try
    d[i] := 'x';
  except
    WriteLn('dynamic caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  i := 2;
  try
    WriteLn(d[i]);
  except
    WriteLn('dynamic read caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  i := 3;
  a[i] := 7;
  WriteLn('a[3]=' + IntToStr(a[3]));
  i := 4;
  a[i] := 1;
  WriteLn('not reached');
end.

{ Variant: holds integers, reals, strings and Booleans, converts on
  assignment, VarType codes, Null and Unassigned, conversion errors. }
var
  v, v2: Variant;
  i: Integer;
  s: string;
  d: Double;
  b: Boolean;
begin
  v := 5; v := v + 2; i := v;
  WriteLn('int ' + IntToStr(i) + ' vartype=' + IntToStr(VarType(v)));
  v := 'str'; s := v;
  WriteLn('string ' + s + ' vartype=' + IntToStr(VarType(v)));
  v := 1.5; d := v;
  WriteLn('double ' + FloatToStr(d) + ' vartype=' + IntToStr(VarType(v)));
  v := Null;
  if VarIsNull(v) then WriteLn('null vartype=' + IntToStr(VarType(v)));
  v := Unassigned;
  if VarIsEmpty(v) then WriteLn('empty vartype=' + IntToStr(VarType(v)));
  v := '12'; i := v;
  WriteLn('string to int ' + IntToStr(i + 1));
  v := 'x'; v := v + 'y'; s := v;
  WriteLn('string concat ' + s);
  v := 3; s := v;
  WriteLn('int to string ' + s);
  v := 3; v2 := '4'; v := v + v2; s := v;
  WriteLn('3 + ''4'' = ' + s + ' vartype=' + IntToStr(VarType(v)));
  v := True; b := v;
  if b then WriteLn('boolean');
  v := 7;
  if v > 5 then WriteLn('compare 7 > 5');
  v := 'abc';
  try
    i := v;
  except
    WriteLn('bad conversion: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  v := Null;
  try
    i := v;
    WriteLn('not reached');
  except
    WriteLn('null conversion: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
end.

{ An out-of-range string index and a method call on nil inside
  try..except are ordinary run-time errors that the handler catches. }
var
  s: string;
  L: TStringList;
  i: Integer;
begin
  s := 'abc';
  i := 10;
  try
    s := s + s[i];
    WriteLn('not reached');
  except
    WriteLn('index caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    L.Add('x');
    WriteLn('not reached');
  except
    WriteLn('nil caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('after both');
end.

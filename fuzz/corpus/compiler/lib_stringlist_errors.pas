{ TStringList errors: reading, writing and deleting past the end raise
  host exceptions that try..except catches; an uncaught one ends the run. }
var
  L: TStringList;
  s: string;
begin
  L := TStringList.Create;
  L.Add('only');
  try
    s := L[1];
  except
    WriteLn('read: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    L[-1] := 'x';
  except
    WriteLn('write: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    L.Delete(5);
  except
    WriteLn('delete: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    L.Insert(3, 'x');
  except
    WriteLn('insert: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  WriteLn('count still ' + IntToStr(L.Count));
  L.Exchange(0, 2);
  WriteLn('not reached');
end.

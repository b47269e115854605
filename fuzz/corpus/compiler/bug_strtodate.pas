{ StrToDate reads a date in the fixed dd/MM/yyyy format. }
var d: TDateTime;
begin
  d := StrToDate('05/03/2024');
  WriteLn('parsed ' + FormatDateTime('yyyy-mm-dd', d));
  d := StrToDate('31/12/1999');
  WriteLn('parsed ' + FormatDateTime('yyyy-mm-dd', d));
  try
    d := StrToDate('not a date');
  except
    WriteLn('bad text raised');
  end;
end.

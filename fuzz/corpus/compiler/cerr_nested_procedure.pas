{ Procedures cannot be nested inside procedures. }
procedure Outer;
  procedure Inner;
  begin
  end;
begin
  Inner;
end;

begin
end.

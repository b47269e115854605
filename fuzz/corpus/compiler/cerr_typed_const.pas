{ Typed constants are not supported. }
const
  Limit: Integer = 10;
begin
end.

{ Variables cannot be given an initial value in their declaration. }
var count: Integer = 5;
begin
end.

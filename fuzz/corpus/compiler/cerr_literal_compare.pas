{ Ordering two string literals is a type mismatch (= between them is fine). }
begin
  if 'abc' < 'abd' then WriteLn('less');
end.

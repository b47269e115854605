{ Lenient syntax the engine accepts: semicolons between statements are
  optional, keywords and names in any letter case, a semicolon before
  "end" and before "else" of case, empty statements. }
VAR Total: INTEGER;
Procedure ADD(n: integer);
BEGIN
  total := TOTAL + N
END;

begin
  WriteLn('a') WriteLn('b')
  Add(2) aDd(3);;
  WRITELN('total=' + inttostr(Total));
  CASE Total OF
    5: WriteLn('five');
  ELSE
    WriteLn('other');
  END;
  ;
end.

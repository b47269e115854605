{ Untyped constants: integer, string, real, Boolean and Char constants, and
  constant expressions built from earlier constants. }
const
  Base = 3 * 4 + 1;
  Negated = -Base;
  Hex = $FF;
  Rest = Base mod 5;
  Shifted = 1 shl 4;
  Greeting = 'abc' + 'd';
  Ratio = 1.5;
  Enabled = True;
  Letter = #65;
  Quote = 'it''s';
  Twice = Base * 2;

begin
  WriteLn('ints ' + IntToStr(Base) + ' ' + IntToStr(Negated) + ' ' + IntToStr(Hex) + ' ' + IntToStr(Rest)
    + ' ' + IntToStr(Shifted) + ' ' + IntToStr(Twice));
  WriteLn('strings ' + Greeting + ' ' + Letter + ' ' + Quote + ' len=' + IntToStr(Length(Quote)));
  WriteLn('real ' + FloatToStr(Ratio * 2));
  if Enabled then WriteLn('bool const true');
  if not Enabled then WriteLn('never');
end.

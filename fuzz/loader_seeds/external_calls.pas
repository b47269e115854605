type TPoint = record x: Integer; y: Double; tag: Char; name: string; end;
     TShorts = array[0..3] of SmallInt;
function GetTickCount: Cardinal; external 'GetTickCount@kernel32.dll stdcall';
procedure MovePoint(var p: TPoint; dx: Integer); external 'ft_move_point@PeloForeignTest.dll cdecl';
function ArraySum(a: TShorts; n: Integer): Integer; external 'ft_array_sum@PeloForeignTest.dll register delayload';
procedure UpperInPlace(var s: string); external 'ft_upper_in_place@"Pelo Foreign.dll" pascal';
function Third(x: Extended): Extended; external 'ft_third@PeloForeignTest.dll';
var p: TPoint; a: TShorts; s: string;
begin
  try
    MovePoint(p, GetTickCount);
    UpperInPlace(s);
    WriteLn(IntToStr(ArraySum(a, 4)) + FloatToStr(Third(1)));
  except
    WriteLn(ExceptionParam);
  end;
  UnloadDll('PeloForeignTest.dll');
  WriteLn(IntToStr(DllGetLastError));
end.

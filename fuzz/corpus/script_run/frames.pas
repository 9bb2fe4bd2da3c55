var r: Variant; q: Integer;
function Sum(n: Integer): Integer; var a, b: Integer; begin if n = 0 then Result := 0 else begin a := n; b := Sum(n - 1); Result := a + b end end;
function F(n: Integer): Integer; var x, y: Integer; begin y := x; x := n; Result := y; if n > 0 then Result := y + F(n - 1) end;
function Tri(n: Integer): Integer; var i, t, u: Integer; begin t := 0; for i := 1 to n do begin u := t; t := u + i end; if n > 1 then Result := t + Tri(n - 1) + i - n else Result := t end;
function Pick(s, t: String; n: Integer): String; begin if n = 0 then Result := s else Result := Pick(t, s, n - 1) end;
function IsOdd(n: Integer): Boolean; begin if n = 0 then Result := False else Result := IsEven(n - 1) end;
function IsEven(n: Integer): Boolean; begin Result := True; if n = 0 then exit; Result := IsOdd(n - 1) end;
function H(n: Integer): Variant; var x: Extended; b: Boolean; begin x := n; b := n > 2; if b then Result := x * 0.5 else Result := H(n + 1) end;
procedure P(n: Integer); begin if n > 0 then begin q := n * 2; P(n - 1) end end;
begin r := Sum(20) + F(3) + F(3) + Tri(6); r := r + Pick('a', 'b', 5); if IsOdd(7) then q := 1; P(3); r := r + H(1); end.

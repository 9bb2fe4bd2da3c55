var r: Variant; s: String; y, m, d: Word;
begin s := Format('%d %s %.2f', [12, 'x', 1.5]); r := FormatFloat('#,##0.00', 1234.5) + s;
DecodeDate(EncodeDate(2024, 2, 29), y, m, d); s := Copy('abcdef', 2, 3); Delete(s, 1, 1); Insert('z', s, 2);
r := r + NameCase('MARIO ROSSI') + IntToStr(Round(2.5)) + FloatToStr(Frac(-2.75)) + DateToStr(Now) end.

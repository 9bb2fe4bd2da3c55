#language VoriroVoreva
begin x := ((((1)))) end.
program Greeter;

{ A small console program used to try the translation tools: its strings
  are the ones a translator would change. }

{$APPTYPE CONSOLE}

uses
  SysUtils,
  Phrases in 'Phrases.pas';

var
  Count: Integer;

begin
  WriteLn('Hello, world!');
  WriteLn(Farewell);
  if ParamCount > 0 then
    Count := StrToIntDef(ParamStr(1), 1)
  else
    Count := 1;
  WriteLn(Format('You asked for %d greeting(s).', [Count]));
  WriteLn(Greeting(Count));
end.

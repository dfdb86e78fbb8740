unit Phrases;

interface

function Farewell: string;
function Greeting(Count: Integer): string;

implementation

function Farewell: string;
begin
  Result := 'Goodbye, and thanks for all the fish.';
end;

function Greeting(Count: Integer): string;
var
  I: Integer;
begin
  Result := '';
  for I := 1 to Count do
    Result := Result + 'Good morning! ';
end;

end.

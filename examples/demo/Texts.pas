unit Texts;

{ Texts shown by more than one form }

interface

resourcestring
  SEntries = '%d Einträge';
  SCleared = 'Die Liste ist jetzt leer.';
  SNotFound = 'Datei nicht gefunden: %s';

const
  SDefaultCity = 'München';
  SWelcome = 'Welcome to the address book';
  SVersion = '1.0';
  SExtension = '.adr';

implementation

end.

unit NoteTexts;

interface

resourcestring
  SSaved = 'Notiz gespeichert.';
  SNotSaved = 'Die Notiz konnte nicht gespeichert werden: %s';
  SEmpty = 'Keine Notizen vorhanden.';

implementation

end.

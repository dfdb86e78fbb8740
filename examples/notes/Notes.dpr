program Notes;

uses
  Forms,
  NoteMain in 'Forms\NoteMain.pas' {NoteWindow},
  Greeting in 'Frames\Greeting.pas' {GreetingFrame: TFrame},
  NoteTexts in 'Common\NoteTexts.pas';

{$R *.res}

begin
  Application.Initialize;
  Application.Title := 'Notizen';
  Application.CreateForm(TNoteWindow, NoteWindow);
  Application.Run;
end.

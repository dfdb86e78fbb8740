program Demo;

uses
  Forms,
  Main in 'Main.pas' {MainForm},
  About in 'ABOUT.PAS' {AboutBox},
  Input in 'Frm\Input.pas' {InputForm},
  Texts in 'texts.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Adressbuch Demo';
  Application.HelpFile := 'demo.hlp';
  Application.CreateForm(TMainForm, MainForm);
  Application.CreateForm(TAboutBox, AboutBox);
  Application.CreateForm(TInputForm, InputForm);
  Application.Run;
end.

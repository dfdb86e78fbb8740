unit NoteMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, Greeting;

type
  TNoteWindow = class(TForm)
    TitleLabel: TLabel;
    NoteMemo: TMemo;
    SaveButton: TButton;
    CloseButton: TButton;
    GreetingFrame1: TGreetingFrame;
    procedure SaveButtonClick(Sender: TObject);
  end;

var
  NoteWindow: TNoteWindow;

implementation

uses NoteTexts;

{$R *.dfm}

procedure TNoteWindow.SaveButtonClick(Sender: TObject);
begin
  NoteMemo.Lines.SaveToFile('notes.txt');
  ShowMessage(SSaved);
end;

end.

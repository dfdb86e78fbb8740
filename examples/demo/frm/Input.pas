unit Input;

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, Dialogs, StdCtrls;

type
  TInputForm = class(TForm)
    NameLabel: TLabel;
    NameEdit: TEdit;
    CityLabel: TLabel;
    CityCombo: TComboBox;
    NotesMemo: TMemo;
    OKButton: TButton;
    CancelButton: TButton;
    procedure FormShow(Sender: TObject);
    procedure OKButtonClick(Sender: TObject);
  end;

var
  InputForm: TInputForm;

implementation

uses Texts;

{$R *.DFM}

procedure TInputForm.FormShow(Sender: TObject);
begin
  NameEdit.Text := '';
  CityCombo.Text := SDefaultCity;
  NameEdit.SetFocus;
end;

procedure TInputForm.OKButtonClick(Sender: TObject);
begin
  if Trim(NameEdit.Text) = '' then
  begin
    ShowMessage('Bitte geben Sie einen Namen ein.');
    ModalResult := mrNone;
  end;
end;

end.

unit Main;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  Menus, StdCtrls, ExtCtrls, ComCtrls;

type
  TMainForm = class(TForm)
    MainMenu1: TMainMenu;
    Datei1: TMenuItem;
    Neu1: TMenuItem;
    Oeffnen1: TMenuItem;
    N1: TMenuItem;
    Beenden1: TMenuItem;
    Hilfe1: TMenuItem;
    Info1: TMenuItem;
    Panel1: TPanel;
    AddButton: TButton;
    ClearButton: TButton;
    ListBox1: TListBox;
    StatusBar1: TStatusBar;
    procedure FormCreate(Sender: TObject);
    procedure Beenden1Click(Sender: TObject);
    procedure Info1Click(Sender: TObject);
    procedure AddButtonClick(Sender: TObject);
    procedure ClearButtonClick(Sender: TObject);
  private
    FCount: Integer;
    procedure UpdateStatus;
  public
    property Count: Integer read FCount write FCount;
  end;

var
  MainForm: TMainForm;

implementation

uses About, Input, Texts;

{$R *.DFM}

const
  DataFile = 'adressen.dat';
  { Shown in the caption after the program's name }
  CaptionFormat = '%s - [%s]';

procedure TMainForm.FormCreate(Sender: TObject);
begin
  FCount := 0;
  Caption := Format(CaptionFormat, ['Adreßbuch', ExtractFileName(DataFile)]);
  UpdateStatus;
end;

procedure TMainForm.UpdateStatus;
begin
  StatusBar1.SimpleText := Format(SEntries, [FCount]);
end;

procedure TMainForm.Beenden1Click(Sender: TObject);
begin
  if MessageDlg('Möchten Sie das Programm wirklich beenden?', mtConfirmation,
    [mbYes, mbNo], 0) = mrYes then
    Close;
end;

procedure TMainForm.Info1Click(Sender: TObject);
begin
  AboutBox.ShowModal;
end;

procedure TMainForm.AddButtonClick(Sender: TObject);
begin
  if InputForm.ShowModal = mrOk then
  begin
    ListBox1.Items.Add(InputForm.NameEdit.Text + ', ' + InputForm.CityCombo.Text);
    Inc(FCount);
    UpdateStatus;
  end
  else
    ShowMessage('Don''t worry, nothing was added.');
end;

procedure TMainForm.ClearButtonClick(Sender: TObject);
begin
  ListBox1.Clear;
  FCount := 0;
  UpdateStatus;
  ShowMessage(SCleared);
end;

end.

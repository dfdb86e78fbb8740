unit About;

interface

uses Windows, SysUtils, Classes, Graphics, Forms, Controls, StdCtrls,
  Buttons, ExtCtrls;

type
  TAboutBox = class(TForm)
    Panel1: TPanel;
    ProductName: TLabel;
    Version: TLabel;
    Copyright: TLabel;
    Comments: TLabel;
    OKButton: TButton;
    procedure FormCreate(Sender: TObject);
  private
  public
  end;

var
  AboutBox: TAboutBox;

implementation

uses Texts;

{$R *.DFM}

procedure TAboutBox.FormCreate(Sender: TObject);
begin
  Version.Caption := 'Version ' + SVersion;
  Comments.Caption := SWelcome + '.'#13'Grüße aus Köln!';
end;

end.

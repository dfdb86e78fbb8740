unit Greeting;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls;

type
  TGreetingFrame = class(TFrame)
    GreetingLabel: TLabel;
    WaveButton: TButton;
  end;

implementation

{$R *.dfm}

end.

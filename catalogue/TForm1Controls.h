#pragma once

class TButton;
class TComboBox;
class TForm;
class TImage;
class TLabel;
class TNxHTTP;
class TPanel;
class TProgressBar;
class TStringGrid;

// The main window's controls by name, so the catalogue code (which sits below
// the program's window class) can reach them. The window owns them all.
struct TForm1Controls {
    TForm* Form = nullptr;

    TImage* Image1 = nullptr;
    TLabel* lbltitle = nullptr;
    TLabel* monthvolume = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* price = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* promotion_price = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* brand_name = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* comment_num = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TImage* Image2 = nullptr;
    TImage* Image3 = nullptr;
    TImage* Image4 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label14 = nullptr;
    TLabel* lbltotalcount = nullptr;
    TComboBox* productselect = nullptr;
    TComboBox* subproductlist = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* lblpagecount = nullptr;
    TStringGrid* gridshowinfo = nullptr;
    TButton* btnnext = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TButton* btnpre = nullptr;

    // The window's HTTP client; every request of the program goes through it.
    TNxHTTP* NxHTTP1 = nullptr;
};

#pragma once
// The pictures the template dialogs share: the templates' large and small
// images and the glyphs of the view style buttons.

class TImageList;
class TSpeedButton;

void LoadTemplateImages(TImageList& large, TImageList& small);
// Gives the two view buttons their glyphs and hints and puts them in group 1.
void SetUpViewButtons(TImageList& glyphs, TSpeedButton& large, TSpeedButton& small);

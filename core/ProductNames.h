#pragma once

// Caption of every message box Quillo shows, and the tail of its titles.
inline const char* const ProductCaption = "Corvane Quillo";
// Title of the application and the main window while an outline has no file.
inline const char* const UntitledTitle = "Untitled - Corvane Quillo";
// The product's page on the web, which Help > "Quillo On The &Web" opens.
inline const char* const ProductWebAddress = "https://www.corvane.com/quillo/";

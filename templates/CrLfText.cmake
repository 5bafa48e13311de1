# cmake -DSOURCE=<text> -DOUTPUT=<file> -P CrLfText.cmake: copies a text file
# with CR LF line ends, the form a page text has in Quillo and in Notepad.
file(READ "${SOURCE}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUTPUT}" "${text}")

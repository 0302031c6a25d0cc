# cmake -DIN=FILE -DOUT=FILE -P crlf.cmake: copies a text file with Windows line
# ends, so that every editor a Windows player has shows its lines.
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")

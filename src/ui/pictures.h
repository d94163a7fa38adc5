#pragma once

#include <QIcon>
#include <QPixmap>

// Every picture the program shows is painted here at run time, so there are no
// image files to ship or keep in step with the code.
namespace tipora::pictures {

QIcon windowIcon();       // 32 x 32, with 16 x 16 and 48 x 48 variants
QPixmap fingerGuide();    // 323 x 84, meant for a black background
QPixmap loudspeaker();    // 24 x 22
QPixmap nextLineArrow();  // 32 x 32
QPixmap slideOutButton(); // 32 x 32
QPixmap slideInButton();  // 32 x 32
QPixmap aboutPicture();   // 258 x 154

} // namespace tipora::pictures

#pragma once
#include <QIcon>

class QPainter;

namespace parlino::app {

// The program's pictures, drawn at every size they are asked for: a speech bubble with sound
// waves. While text is read the tray cycles the two animation frames and the normal picture,
// whose waves light up from the inside out.
enum class Picture { Normal, SpeakingFrame1, SpeakingFrame2 };

QIcon ProgramIcon(Picture picture = Picture::Normal);

// Paints the picture into the square from (0, 0) to (16, 16) of the painter's coordinates; the
// icons installed for the desktop are made from this same drawing.
void PaintPicture(QPainter& painter, Picture picture = Picture::Normal);

}  // namespace parlino::app

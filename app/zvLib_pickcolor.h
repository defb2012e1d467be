// zvLib, the colour chooser of the options dialog's colour fields: the colour dialog opens on
// the field's colour and, on OK, the field takes the colour chosen.
#pragma once

class QWidget;

namespace zvLib {

// Shows the colour dialog starting from the box's background colour; on OK the box's
// background becomes the chosen colour, Cancel leaves it as it was.
void PickColor(QWidget& box);

}  // namespace zvLib

# The source folders from the ground up. A folder includes from its own folder and from the floors
# below it, never from its own floor or above; folders named together share a floor. A new folder
# must be given its floor here.
set(source_floors "ground" "app" "keyboard dialogs" "lessons demo" "exam" "history window" "classroom" "ui")
# Everything below ui is logic and must stay displayless.
set(logic_folders ground app keyboard dialogs lessons demo exam history window classroom)

"""What the end-to-end suites share: the Wine and Xvfb harness (harness), the one
way a suite is started (suite), Option's program folder and test case (option),
the macro library file (macro_library), another program to type into (notepad),
the assignment dialog of the button page (button_page) and the notification
area's icon and menu on screenshots (tray).

A suite puts the folder above this package on its path and imports from it; no
suite imports another."""

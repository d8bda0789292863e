// Every window of the program, created through the application object in the start-up order: a
// window reaches one created after it only once that one exists.
#pragma once

void CreateProgramForms();

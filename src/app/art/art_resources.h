// Resource ids shared by artwork.rc and the code that loads them.
#ifndef MOYAN_APP_ART_ART_RESOURCES_H_
#define MOYAN_APP_ART_ART_RESOURCES_H_

// The program icon; id 1 comes first, so Explorer shows it for the program file too.
#define MOYAN_PROGRAM_ICON 1

#endif  // MOYAN_APP_ART_ART_RESOURCES_H_

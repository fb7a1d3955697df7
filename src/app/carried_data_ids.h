// Resource ids of what the program carries besides its artwork (carried_data.rc), shared
// by the resource script and the code that reads them.
#ifndef MOYAN_APP_CARRIED_DATA_IDS_H_
#define MOYAN_APP_CARRIED_DATA_IDS_H_

#define MOYAN_SKIN_LIBRARY_FILE 200  // SkinH_EL.dll, written beside the program
#define MOYAN_SHAPE_PICTURE 201      // the window's shape picture, packed
#define MOYAN_SKIN_BLOCK_BASE 300    // skin n (1 to 33) is resource 300 + n

#endif  // MOYAN_APP_CARRIED_DATA_IDS_H_

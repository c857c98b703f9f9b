// A seam for tests of the private-profile writer.
#ifndef TAGSTRIP_PLATFORM_KERNEL_PROFILE_TESTING_H
#define TAGSTRIP_PLATFORM_KERNEL_PROFILE_TESTING_H

// Called after the new contents are safely in the temporary file and before it replaces
// the ini file; returning false abandons the write there. Null (the default) for none.
void SetProfileRenameHookForTesting(bool (*hook)());

#endif

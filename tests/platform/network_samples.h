// A mount table and a Samba configuration with every kind of line the parsers meet: shares to
// find, sections and mounts to skip, and lines broken in each way.
#ifndef FOLDWISE_TESTS_PLATFORM_NETWORK_SAMPLES_H_
#define FOLDWISE_TESTS_PLATFORM_NETWORK_SAMPLES_H_

namespace Foldwise {
namespace testing {

constexpr char kMountInfo[] =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 22 0:40 / /mnt/my\\040share rw,relatime shared:5 - cifs //server/share rw,vers=3.0\n"
    "31 30 8:2 / /mnt/my\\040share/local rw - ext4 /dev/sda2 rw\n"
    "32 22 0:41 / /mnt/docs rw - smb3 //Files/Docs rw\n"
    "33 22 0:42 / /mnt/nfs rw - nfs server:/export rw\n"
    "34 22 0:43 /sub/dir /srv/bound rw - cifs //server/share rw\n"
    "garbage line without any structure\n"
    "35 22 0:44 / /mnt/half rw - cifs\n"
    "36 22 0:45 / relative rw - cifs //server/x rw\n"
    "37 22 0:46 / /mnt/local rw - cifs /dev/sdb1 rw\n"
    "38 22 0:47 / /mnt/over rw - cifs //old/share rw\n"
    "39 38 8:3 / /mnt/over rw - ext4 /dev/sdc1 rw\n";

constexpr char kSmbConf[] =
    "# Samba configuration\n"
    "[global]\n"
    "   workgroup = WORKGROUP\n"
    "   path = /should/not/count\n"
    "[homes]\n"
    "   path = /home\n"
    "[printers]\n"
    "   path = /var/spool/samba\n"
    "   printable = yes\n"
    "[Data]\n"
    "   comment = dictations\n"
    "   path = /srv/data/\n"
    "[laser]\n"
    "   path = /var/spool/laser\n"
    "   Print OK = Yes\n"
    "[per user]\n"
    "   path = /srv/users/%U\n"
    "[off]\n"
    "   path = /srv/off\n"
    "   available = no\n"
    "[no path]\n"
    "   comment = nothing to share\n"
    "[broken\n"
    "   path = /srv/orphan\n"
    "[Public Files]\n"
    "   path = \"/srv/public files\"\\\n"
    "\n"
    "; a comment\n"
    "[data]\n"
    "   read only = no\n";

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_PLATFORM_NETWORK_SAMPLES_H_

// Another program holding a lock: opens the file named (making it when missing), takes an
// exclusive lock on all of it, says "held" on its standard output and keeps the lock until its
// standard input closes. Made with the system's calls alone, as any other program would.
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const int fd = ::open(argv[1], O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return 1;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET; // from the start to the end, however far
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0)
        return 1;
    std::puts("held");
    std::fflush(stdout);
    char c;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
    ::close(fd);
    return 0;
}

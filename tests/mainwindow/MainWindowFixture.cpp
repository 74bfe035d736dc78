#include "MainWindowFixture.h"

#include <fstream>
#include <sstream>

namespace tablor::test {

void MainWindowFixture::write(const QString& name, const std::string& bytes) const {
    std::ofstream out(path(name).toStdString(), std::ios::binary);
    out << bytes;
}

std::string MainWindowFixture::read(const QString& name) const {
    std::ifstream in(path(name).toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace tablor::test

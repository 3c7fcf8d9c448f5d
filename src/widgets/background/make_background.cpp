// Draws the screens' background picture: 550 x 345, 24 bits per pixel, a pale wash with a
// soft wave and a fine diamond grain whose periods divide the picture's size, so the tiles
// join without seams. Usage: dbkeel_make_background <out.png>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <numbers>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out.png>\n", argv[0]);
        return 2;
    }
    constexpr int width = 550, height = 345, grain = 5;
    QImage picture(width, height, QImage::Format_RGB888);
    const double tau = 2 * std::numbers::pi;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double wave = std::sin(tau * x / width) * std::cos(tau * y / height);
            const int dx = std::abs(x % grain - grain / 2), dy = std::abs(y % grain - grain / 2);
            const double diamond = dx + dy <= 1 ? 1.0 : 0.0;
            const double shade = 3.0 * wave - 2.5 * diamond;
            auto channel = [&](double base) { return int(std::lround(std::clamp(base + shade, 0.0, 255.0))); };
            picture.setPixel(x, y, qRgb(channel(236), channel(244), channel(248)));
        }
    }
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

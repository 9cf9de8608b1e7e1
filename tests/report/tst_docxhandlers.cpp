#include "report/docxpicshandler.h"
#include "report/docxrelshandler.h"

#include <QTest>

namespace {

QByteArray picture(const QByteArray& description, const QByteArray& rid)
{
    return "<w:drawing><wp:inline><wp:docPr id='1' descr='" + description
        + "'/><a:graphic><a:graphicData><pic:pic><pic:nvPicPr><pic:cNvPr id='0' descr='" + description
        + "'/></pic:nvPicPr><pic:blipFill><a:blip r:embed='" + rid
        + "'/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>";
}

QByteArray document(const QByteArray& body)
{
    return "<w:document><w:body><w:p><w:r>" + body + "</w:r></w:p></w:body></w:document>";
}

} // namespace

class TestDocxHandlers : public QObject
{
    Q_OBJECT

private slots:
    void relationshipsMapImageTargets();
    void descriptionsBindPictures_data();
    void descriptionsBindPictures();
    void brokenDocumentKeepsPicturesBeforeTheError();
};

void TestDocxHandlers::relationshipsMapImageTargets()
{
    const QByteArray rels =
        "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
        "<Relationship Id='rId1' Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles' Target='styles.xml'/>"
        "<Relationship Id='rId2' Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/image' Target='media/image1.png'/>"
        "<Relationship Id='rId3' Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/image' Target='media/image2.jpeg'/>"
        "<Relationship Id='rId4' Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/image' Target='media/image2.jpeg'/>"
        "</Relationships>";
    DocxRelsHandler handler;
    QVERIFY(handler.parse(rels));
    QString rid;
    QCOMPARE(handler.getRID(QStringLiteral("media/image1.png"), rid), QStringLiteral("rId2"));
    QCOMPARE(handler.getRID(QStringLiteral("media/image2.jpeg"), rid), QStringLiteral("rId4"));
    QVERIFY(handler.getRID(QStringLiteral("styles.xml"), rid).isNull());
    handler.clear();
    QVERIFY(handler.getRID(QStringLiteral("media/image1.png"), rid).isNull());
}

void TestDocxHandlers::descriptionsBindPictures_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("photo");
    QTest::addColumn<int>("graphic");
    QTest::addColumn<int>("logo");

    QTest::newRow("photo") << document(picture("photo-2.jpg", "rId7")) << 2 << -1 << -1;
    QTest::newRow("graphic") << document(picture("graphic-0.jpg", "rId7")) << -1 << 0 << -1;
    QTest::newRow("logo") << document(picture("appraiserLogo-1.jpg", "rId7")) << -1 << -1 << 1;
    QTest::newRow("described among other words") << document(picture("Фото photo-3.jpg кузов", "rId7")) << 3 << -1 << -1;
    QTest::newRow("no description") << document(picture("", "rId7")) << -1 << -1 << -1;
    QTest::newRow("unknown description") << document(picture("photo-x.jpg", "rId7")) << -1 << -1 << -1;
    QTest::newRow("number beyond int") << document(picture("photo-99999999999.jpg", "rId7")) << -1 << -1 << -1;
    QTest::newRow("picture outside a drawing")
        << document("<pic:pic><pic:cNvPr descr='photo-1.jpg'/><pic:blipFill><a:blip r:embed='rId7'/></pic:blipFill></pic:pic>")
        << -1 << -1 << -1;
    QTest::newRow("a later drawing without description does not inherit one")
        << document(picture("photo-1.jpg", "rId5") + picture("", "rId7")) << -1 << -1 << -1;
}

void TestDocxHandlers::descriptionsBindPictures()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, photo);
    QFETCH(int, graphic);
    QFETCH(int, logo);
    DocxPicsHandler handler;
    QVERIFY(handler.parse(xml));
    const QString rid = QStringLiteral("rId7");
    QCOMPARE(handler.getPhotoIDX(rid), photo);
    QCOMPARE(handler.getGraphicIDX(rid), graphic);
    QCOMPARE(handler.getLogoIDX(rid), logo);
}

void TestDocxHandlers::brokenDocumentKeepsPicturesBeforeTheError()
{
    DocxPicsHandler handler;
    QVERIFY(!handler.parse(QByteArray("<w:document><w:body>") + picture("photo-0.jpg", "rId1")
                           + picture("photo-1.jpg", "rId2").left(60)));
    QCOMPARE(handler.getPhotoIDX(QStringLiteral("rId1")), 0);
    QCOMPARE(handler.getPhotoIDX(QStringLiteral("rId2")), -1);
    handler.clear();
    QCOMPARE(handler.getPhotoIDX(QStringLiteral("rId1")), -1);
}

QTEST_GUILESS_MAIN(TestDocxHandlers)
#include "tst_docxhandlers.moc"

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>

namespace tarvello::EInvoice
{

// The signature an electronic invoice for a public administration travels with: a CAdES-BES
// enveloping signature, i.e. a DER CMS SignedData that holds the XML itself, signed with SHA-256 by
// the holder's certificate, which it carries, with the signed attributes content type, message
// digest, signing time and signing-certificate-v2 (the hash of that very certificate, so nobody can
// swap it for another one with the same key). The file is the document's name plus ".p7m".

struct SignResult {
    enum class Outcome {
        Signed,
        FileMissing,
        FileUnreadable,      // cannot be opened, or is not a PKCS#12 file
        WrongPassword,       // the window asks for the password again
        NoPrivateKey,        // a file with the certificate only
        NoCertificate,       // a file with a key but not the certificate that goes with it
        CertificateExpired,  // notAfter is past
        CertificateNotValid, // notBefore is still to come
        SigningFailed
    };
    Outcome outcome = Outcome::SigningFailed;
    QByteArray p7m;    // DER, when signed
    QString message;   // for the user, in Italian, when not signed
    QString signer;    // the certificate's holder (its common name), once the file could be read
    QDateTime expires; // the certificate's notAfter, in UTC, once the file could be read

    bool ok() const { return outcome == Outcome::Signed; }
};

// Signs `xml` with the key and certificate of the PKCS#12 file (.p12, .pfx) at `p12Path`, which
// `password` opens; the file's other certificates (the chain up to the issuer) go into the
// signature too. The certificate must be valid now. The password is used and forgotten: neither
// kept nor logged.
SignResult sign(const QByteArray& xml, const QString& p12Path, const QString& password);

struct VerifyResult {
    enum class Outcome {
        Valid,
        Unreadable,   // not a DER CMS SignedData
        WrongContent, // the document is not in it, or is not byte for byte the one expected
        BadSignature, // the signature does not hold for the content and the certificate
        NotCadesBes   // no signing-certificate-v2 naming the signer, or a digest other than SHA-256
    };
    Outcome outcome = Outcome::Unreadable;
    QString message; // for the user, in Italian, when not valid
    QString signer;  // the signing certificate's holder, when the signature holds

    bool ok() const { return outcome == Outcome::Valid; }
};

// Checks a signed document as the exchange system will: one signer, whose certificate the file
// carries, a signature that holds for the content, SHA-256, signing-certificate-v2 for that
// certificate, and the content itself, byte for byte `expectedXml`. The certificate is not checked
// against any authority (we have none to trust here): this is how the program makes sure of its own
// signature before it tells the user the document is signed.
VerifyResult verifySignature(const QByteArray& p7m, const QByteArray& expectedXml);

// "IT01234567890_0000A.xml" -> "IT01234567890_0000A.xml.p7m"
QString signedFileName(QStringView fileName);

} // namespace tarvello::EInvoice
